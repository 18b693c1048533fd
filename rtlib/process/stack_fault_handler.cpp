#include "platform.h"

// Inline profile: a stack overflow re-arms the guard page and resumes at the faulting
// instruction; everything else goes on to the platform's default handling.
extern "C" RtDisposition rt_stack_fault_handler(struct _EXCEPTION_POINTERS *info) {
  if (info->ExceptionRecord->ExceptionCode == STATUS_STACK_OVERFLOW) {
    (void)_resetstkoflw();
    return EXCEPTION_CONTINUE_EXECUTION;
  }
  return EXCEPTION_CONTINUE_SEARCH;
}
