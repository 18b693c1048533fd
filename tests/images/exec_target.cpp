#include "rtlib.h"

// Started by rt_exec in the tests: makes the directory named by the last word of its command
// line, so that the test can see it ran. Exit code 0 when it made it.
extern "C" int64_t program_main(void) {
  const char *line = rt_command_line();
  const char *last = nullptr;
  for (const char *p = line; *p != '\0'; ++p)
    if (*p == ' ')
      last = p + 1;
  if (last == nullptr || *last == '\0')
    return 1;
  return rt_make_dir(last, nullptr) != 0 ? 0 : 2;
}
