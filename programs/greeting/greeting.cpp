// greeting: writes the line "Hello, World!".
#include "rtlib.h"

namespace {
constexpr char hello[] = "Hello, World!";
}

extern "C" int64_t program_main(void) {
  int32_t result = 0;
  rt_print_line(hello);
  result = 0;
  return static_cast<int64_t>(result);
}
