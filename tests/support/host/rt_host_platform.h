// Host stand-in for the Windows platform calls the runtime makes. Declarations only; the
// recording definitions live in stand_in.cpp and the test-facing API in stand_in.h. Types
// keep their Windows widths (DWORD and LONG are 32-bit, handles and pointers 64-bit).
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

using BOOL = int32_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using SHORT = int16_t;
using LONG_PTR = int64_t;
using ULONG_PTR = uint64_t;
using SIZE_T = uint64_t;
using HANDLE = void *;
using PVOID = void *;
using LPVOID = void *;
using LPCVOID = const void *;
using LPDWORD = DWORD *;
using LPSTR = char *;
using LPCSTR = const char *;
using LRESULT = LONG_PTR;
using WPARAM = ULONG_PTR;
using LPARAM = LONG_PTR;

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

constexpr DWORD STD_INPUT_HANDLE = static_cast<DWORD>(-10);
constexpr DWORD STD_OUTPUT_HANDLE = static_cast<DWORD>(-11);
constexpr DWORD STD_ERROR_HANDLE = static_cast<DWORD>(-12);
constexpr LONG EXCEPTION_CONTINUE_SEARCH = 0;
constexpr LONG EXCEPTION_CONTINUE_EXECUTION = -1;
constexpr DWORD STATUS_STACK_OVERFLOW = 0xC00000FDu;
constexpr DWORD STATUS_ACCESS_VIOLATION = 0xC0000005u;
constexpr DWORD HEAP_ZERO_MEMORY = 8;
constexpr DWORD INFINITE = 0xFFFFFFFFu;

struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED *;

struct EXCEPTION_RECORD {
  DWORD ExceptionCode;
  DWORD ExceptionFlags;
  EXCEPTION_RECORD *ExceptionRecord;
  PVOID ExceptionAddress;
  DWORD NumberParameters;
  ULONG_PTR ExceptionInformation[15];
};
struct CONTEXT;
struct _EXCEPTION_POINTERS {
  EXCEPTION_RECORD *ExceptionRecord;
  CONTEXT *ContextRecord;
};
using EXCEPTION_POINTERS = _EXCEPTION_POINTERS;
using PEXCEPTION_POINTERS = _EXCEPTION_POINTERS *;
using PVECTORED_EXCEPTION_HANDLER = LONG (*)(PEXCEPTION_POINTERS);

extern "C" {
// kernel32: process and faults
PVOID AddVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler);
[[noreturn]] void ExitProcess(UINT code);
// kernel32: console and files
HANDLE GetStdHandle(DWORD which);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped);
// msvcrt routines that glibc does not have
int _snprintf(char *buffer, size_t size, const char *format, ...);
int _resetstkoflw(void);

// ---- heap blocks (HeapAlloc and kin) ----
HANDLE GetProcessHeap(void);
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);

// ---- console control ----
struct COORD {
  SHORT X;
  SHORT Y;
};
struct SMALL_RECT {
  SHORT Left, Top, Right, Bottom;
};
struct CONSOLE_SCREEN_BUFFER_INFO {
  COORD dwSize;
  COORD dwCursorPosition;
  WORD wAttributes;
  SMALL_RECT srWindow;
  COORD dwMaximumWindowSize;
};
BOOL SetConsoleCursorPosition(HANDLE console, COORD position);
BOOL FillConsoleOutputCharacterA(HANDLE console, char character, DWORD cells, COORD start,
                                 LPDWORD written);
BOOL FillConsoleOutputAttribute(HANDLE console, WORD attribute, DWORD cells, COORD start,
                                LPDWORD written);
BOOL SetConsoleTextAttribute(HANDLE console, WORD attribute);
BOOL Beep(DWORD frequency, DWORD duration);
BOOL GetConsoleScreenBufferInfo(HANDLE console, CONSOLE_SCREEN_BUFFER_INFO *info);
BOOL SetConsoleScreenBufferSize(HANDLE console, COORD size);
BOOL SetConsoleTitleA(LPCSTR title);

// ---- files and directories ----
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES *;
using PLONG = LONG *;
constexpr DWORD GENERIC_READ = 0x80000000u;
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE template_file);
BOOL CloseHandle(HANDLE handle);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD got, LPOVERLAPPED overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distance_high, DWORD method);
BOOL FlushFileBuffers(HANDLE file);
BOOL SetEndOfFile(HANDLE file);
BOOL DeleteFileA(LPCSTR path);
BOOL MoveFileA(LPCSTR existing, LPCSTR target);
BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL fail_if_exists);
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes);
BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security);
BOOL SetCurrentDirectoryA(LPCSTR path);
BOOL RemoveDirectoryA(LPCSTR path);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);

// ---- process, environment ----
void Sleep(DWORD milliseconds);
UINT WinExec(LPCSTR command_line, UINT show);
LPSTR GetCommandLineA(void);
LPSTR GetEnvironmentStringsA(void);
// msvcrt's srand; the stand-in's definition takes the place of the C library's.
void srand(unsigned int seed) noexcept;

// ---- user32 (case conversion, windows, wsprintfA) ----
DWORD CharLowerBuffA(LPSTR text, DWORD length);
DWORD CharUpperBuffA(LPSTR text, DWORD length);

// ---- inline profile: threads, lstr*, msvcrt malloc/free ----
struct SECURITY_ATTRIBUTES;
struct HWND__;
using HWND = HWND__ *;
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);
constexpr int GWLP_USERDATA = -21;
constexpr UINT WM_DESTROY = 2;
HANDLE CreateThread(SECURITY_ATTRIBUTES *security, SIZE_T stack_size, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, LPDWORD thread_id);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
int lstrlenA(LPCSTR text);
LPSTR lstrcpynA(LPSTR target, LPCSTR source, int count);
int wsprintfA(LPSTR buffer, LPCSTR format, ...);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
void PostQuitMessage(int code);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM first, LPARAM second);

// ---- checked runtime: locks, memory regions, modules, environment ----
struct SRWLOCK {
  void *Ptr;
};
#define SRWLOCK_INIT                                                                               \
  { nullptr }
using HMODULE = void *;
constexpr DWORD MAX_PATH = 260;
constexpr DWORD MEM_COMMIT = 0x1000;
constexpr DWORD MEM_FREE = 0x10000;
constexpr DWORD PAGE_NOACCESS = 0x01;
constexpr DWORD PAGE_READONLY = 0x02;
constexpr DWORD PAGE_READWRITE = 0x04;
constexpr DWORD PAGE_WRITECOPY = 0x08;
constexpr DWORD PAGE_EXECUTE_READ = 0x20;
constexpr DWORD PAGE_EXECUTE_READWRITE = 0x40;
constexpr DWORD PAGE_EXECUTE_WRITECOPY = 0x80;
constexpr DWORD PAGE_GUARD = 0x100;
struct MEMORY_BASIC_INFORMATION {
  PVOID BaseAddress;
  PVOID AllocationBase;
  DWORD AllocationProtect;
  WORD PartitionId;
  SIZE_T RegionSize;
  DWORD State;
  DWORD Protect;
  DWORD Type;
};
void AcquireSRWLockExclusive(SRWLOCK *lock);
void ReleaseSRWLockExclusive(SRWLOCK *lock);
SIZE_T VirtualQuery(LPCVOID address, MEMORY_BASIC_INFORMATION *info, SIZE_T size);
DWORD GetModuleFileNameA(HMODULE module, LPSTR path, DWORD size);
DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);
}

// ---- inline profile: recording msvcrt malloc, free and memset ----
// The inline runtime calls these by their plain names from inside namespace rt_inline
// (include/rtlib_inline.hpp), where unqualified lookup finds the recording versions first; nothing
// else is redirected, so the C library and AddressSanitizer keep working everywhere else.
namespace rt_inline {
void *malloc(size_t size);
void free(void *block);
void *memset(void *block, int value, size_t size);
} // namespace rt_inline
