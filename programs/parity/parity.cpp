// parity: writes 1 to 10, each followed by a line " is odd" or " is even".
#include "rtlib.h"

namespace {
constexpr char is_odd[] = " is odd";
constexpr char is_even[] = " is even";
} // namespace

extern "C" int64_t program_main(void) {
  int32_t result = 0;
  int32_t counter = 1;
  while (!(static_cast<int64_t>(counter) > 10)) {
    if (static_cast<int64_t>(counter) % 2 == 0) {
      rt_print_int(static_cast<int64_t>(counter));
      rt_print_line(is_even);
    } else {
      rt_print_int(static_cast<int64_t>(counter));
      rt_print_line(is_odd);
    }
    counter = counter + 1;
  }
  result = 0;
  return static_cast<int64_t>(result);
}
