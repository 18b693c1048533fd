#include "platform.h"

// Image entry of the call profile. There is no C runtime start-up before it and nothing
// after ExitProcess; the checked runtime looks at its heap before the end.
extern "C" void rt_start(void) {
  AddVectoredExceptionHandler(0, rt_fault_handler);
  const int64_t result = program_main();
#if defined(RTLIB_CHECKED)
  rt::check::at_exit(RT_SITE);
#endif
  ExitProcess(static_cast<UINT>(static_cast<uint64_t>(result)));
}
