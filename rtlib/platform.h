// Platform calls used by the runtime: kernel32, user32 and msvcrt on Windows. The host test
// build supplies a recording stand-in with the same names instead (rt_host_platform.h).
#pragma once

#if defined(_WIN32)
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
// Under GCC, the C runtime routines the runtime calls, declared as imports: a call then goes
// through the import address table itself, not through a jump stub that the import library
// would add to the image for each routine (the headers declare these without the import
// attribute; clang keeps a redeclaration from adding it).
#if !defined(__clang__)
extern "C" {
__declspec(dllimport) long __cdecl atol(const char *);
__declspec(dllimport) void *__cdecl memchr(const void *, int, size_t);
__declspec(dllimport) int __cdecl memcmp(const void *, const void *, size_t);
__declspec(dllimport) void *__cdecl memcpy(void *, const void *, size_t);
__declspec(dllimport) void *__cdecl memmove(void *, const void *, size_t);
__declspec(dllimport) void __cdecl srand(unsigned int);
__declspec(dllimport) size_t __cdecl strlen(const char *);
__declspec(dllimport) char *__cdecl strstr(const char *, const char *);
}
#endif
#else
#include "rt_host_platform.h"
#endif

#include "rtlib.h"

#include "marks.h"
