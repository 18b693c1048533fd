// Call-profile image: a runtime routine without unwind data of its own (a frameless leaf)
// faults reading unreadable memory; the walk must get from it back to program_main.
#include <rtlib.h>

#include "unwind_walk.h"

extern "C" int64_t program_main(void) {
  volatile int64_t local = 0;
  unwind_walk::caller_code = reinterpret_cast<DWORD64>(&program_main);
  unwind_walk::caller_local = reinterpret_cast<DWORD64>(&local);
  AddVectoredExceptionHandler(1, unwind_walk::walk_to_caller);
  local = rt_peek_byte(unwind_walk::unreadable());
  return unwind_walk::no_fault;
}
