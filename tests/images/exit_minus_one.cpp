#include "rtlib.h"

extern "C" int64_t program_main(void) {
  int32_t result = -1;
  return static_cast<int64_t>(result);
}
