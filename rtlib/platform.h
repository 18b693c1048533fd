// Platform calls used by the runtime: kernel32, user32 and msvcrt on Windows. The host test
// build supplies a recording stand-in with the same names instead (rt_host_platform.h).
#pragma once

#if defined(_WIN32)
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#else
#include "rt_host_platform.h"
#endif

#include "rtlib.h"
