// A call-profile program linked with the checked runtime that breaks one contract of the
// runtime's header, chosen by the last word of its command line: a case of check_cases.h. With
// "list" it prints every case as three lines: its name, the routine that reports it and a
// piece of what the report says. "exit.overrun" and "exit.leaks" leave blocks for the checks
// at exit: one written past its end, and three never released (exit code 7). "site.line" breaks
// a contract on a line of this file, for the test that maps its call site to that line.
#include "check_cases.h"

using check_cases::Case;
using check_cases::cases;

namespace {

bool same(const char *a, const char *b) {
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

} // namespace

extern "C" int64_t program_main(void) {
  // The last word of the command line names the case.
  const char *word = rt_command_line();
  for (const char *c = word; *c != 0; ++c)
    if (*c == ' ')
      word = c + 1;
  if (same(word, "list")) {
    for (const Case &c : cases) {
      rt_print_line(c.name);
      rt_print_line(c.reported);
      rt_print_line(c.says);
    }
    return 0;
  }
  // Blocks made and written past their end, or left live, for the checks at exit.
  if (same(word, "exit.overrun")) {
    char *block = block8();
    block[8] = 1;
    return 0;
  }
  if (same(word, "site.line")) {
    int64_t local = 0;
    rt_free(&local); // the call site that addr2line must name
  }
  if (same(word, "exit.leaks")) {
    block8();
    StrView hello = view_of("hello");
    rt_str_dup(&hello);
    rt_str_empty();
    return 7;
  }
  for (const Case &c : cases)
    if (same(word, c.name)) {
      c.run();
      return 0;
    }
  return 1;
}
