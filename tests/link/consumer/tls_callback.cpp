// A TLS callback, placed where the C runtime's TLS directory would list it.
#include <windows.h>

extern "C" void NTAPI on_thread_event(PVOID, DWORD, PVOID) {}
extern "C" [[gnu::section(".CRT$XLB"), gnu::used]] const PIMAGE_TLS_CALLBACK tls_callback =
    on_thread_event;
