#include "rtlib.h"

// Writes what the process was started with: its command line on the first line, then each
// text of its environment block on a line of its own.
extern "C" int64_t program_main(void) {
  rt_print_line(rt_command_line());
  const char *entry = rt_environment();
  if (entry == nullptr)
    return 1;
  while (*entry != '\0') {
    rt_print_line(entry);
    while (*entry != '\0')
      ++entry;
    ++entry;
  }
  return 0;
}
