#include "platform.h"

namespace {
constexpr char line_end[2] = {'\r', '\n'};
}

// Text and line end are two writes, each after its own handle lookup; only the line end's
// outcome is reported.
extern "C" int64_t rt_print_line(const char *text) {
  RT_CHECK(text, "text", text);
  const size_t length = strlen(text);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
  written = 0;
  return WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line_end, 2, &written, nullptr);
}

extern "C" RT_LEAF int64_t rt_print_int_arg2(int64_t /*ignored*/, int64_t value) {
  return rt_print_int(value);
}

extern "C" RT_LEAF int64_t rt_print_line_arg2(int64_t /*ignored*/, const char *text) {
  RT_CHECK(text, "text", text);
  return rt_print_line(text);
}
