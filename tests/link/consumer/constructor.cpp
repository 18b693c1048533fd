// A global whose initial value is computed at run time: a static constructor.
#include <windows.h>

extern "C" DWORD started = GetTickCount();
