#include <rtlib.h>

extern "C" int64_t program_main(void) {
  rt_print_int(-7);
  rt_print_line("installed");
  return 3;
}
