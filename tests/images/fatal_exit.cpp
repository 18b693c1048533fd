#include "rtlib.h"

extern "C" int64_t program_main(void) {
  rt_fatal_exit();
}
