// Call-profile image: a runtime routine faults while copying a string from unreadable memory;
// the walk must get from inside the runtime back to program_main.
#include <rtlib.h>

#include "unwind_walk.h"

extern "C" int64_t program_main(void) {
  volatile int64_t local = 0;
  unwind_walk::caller_code = reinterpret_cast<DWORD64>(&program_main);
  unwind_walk::caller_local = reinterpret_cast<DWORD64>(&local);
  AddVectoredExceptionHandler(1, unwind_walk::walk_to_caller);
  const StrView text = {const_cast<char *>(unwind_walk::unreadable()), 64};
  RtString *copy = rt_str_dup(&text);
  local = copy != nullptr;
  return unwind_walk::no_fault;
}
