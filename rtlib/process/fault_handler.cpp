#include "platform.h"

// Call profile: every fault, a stack overflow included, goes on to the platform's default
// handling. The argument is never read.
extern "C" RT_LEAF RtDisposition rt_fault_handler(struct _EXCEPTION_POINTERS * /*info*/) {
  return EXCEPTION_CONTINUE_SEARCH;
}
