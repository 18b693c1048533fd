#include <rtlib.h>

extern "C" int64_t program_main(void) {
  rt_print_line("linked");
  return 5;
}
