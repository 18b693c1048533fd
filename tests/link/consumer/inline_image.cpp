// Two inline-profile entries, one per frame form; each ends the process with the result of the
// wildcard matcher of the runtime tail.
#include <rtlib.h>
#include <windows.h>

extern "C" [[noreturn]] void full_main(void) {
  ExitProcess(static_cast<UINT>(rt_like("l*d", "linked")));
}

extern "C" [[noreturn]] void reduced_main(void) {
  ExitProcess(static_cast<UINT>(rt_like("x*", "linked")));
}
