#include "rtlib.h"

// Only the low 32 bits of the result become the exit code.
extern "C" int64_t program_main(void) {
  return 0x100000005;
}
