#include "platform.h"

// The number and its line end go out in a single write; the handle is fetched anew.
extern "C" int64_t rt_print_int(int64_t value) {
  char buffer[32];
  const int count = _snprintf(buffer, 32, "%I64d\r\n", static_cast<long long>(value));
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD written = 0;
  return WriteFile(out, buffer, static_cast<DWORD>(count), &written, nullptr);
}
