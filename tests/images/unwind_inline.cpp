// Inline-profile image: the wildcard matcher of the runtime tail faults on unreadable text; the
// walk must get from inside the matcher back to the main procedure.
#include <rtlib.h>

#include "unwind_walk.h"

extern "C" [[noreturn]] void unwind_inline_main(void) {
  volatile int64_t local = 0;
  unwind_walk::caller_code = reinterpret_cast<DWORD64>(&unwind_inline_main);
  unwind_walk::caller_local = reinterpret_cast<DWORD64>(&local);
  AddVectoredExceptionHandler(1, unwind_walk::walk_to_caller);
  local = rt_like("*x*", unwind_walk::unreadable());
  ExitProcess(unwind_walk::no_fault);
}
