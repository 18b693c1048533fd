#include "platform.h"

// The report line of the checked runtime. It is built without the C library's formatting and
// cut, never overrun, when a text is longer than the line.

namespace rt::check {

void Line::add(const char *text) {
  // unreachable branch: no report comes near the line's room (an image path is at most MAX_PATH).
  while (*text != 0 && used_ < sizeof text_ - 1)
    text_[used_++] = *text++;
}

void Line::number(uint64_t value) {
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  char text[21] = {};
  for (int i = 0; i < count; ++i)
    text[i] = digits[count - 1 - i];
  add(text);
}

void Line::site(const void *caller) {
  // The return address follows the call; one byte back lies inside the call instruction.
  const auto address = reinterpret_cast<uintptr_t>(caller) - 1;
  MEMORY_BASIC_INFORMATION region = {};
  char path[MAX_PATH] = {};
  uintptr_t base = 0;
  const char *name = "?";
  if (VirtualQuery(reinterpret_cast<const void *>(address), &region, sizeof region) != 0 &&
      region.AllocationBase != nullptr &&
      GetModuleFileNameA(static_cast<HMODULE>(region.AllocationBase), path, sizeof path) != 0) {
    base = reinterpret_cast<uintptr_t>(region.AllocationBase);
    name = path;
    for (const char *c = path; *c != 0; ++c)
      if (*c == '\\' || *c == '/')
        name = c + 1;
  }
  add(name);
  add("+0x");
  char text[17] = {};
  uintptr_t offset = address - base;
  int count = 0;
  do {
    ++count;
  } while (count < 16 && (offset >> (4 * count)) != 0);
  for (int i = count - 1; i >= 0; --i, offset >>= 4)
    text[i] = "0123456789abcdef"[offset & 15];
  add(text);
}

void Line::write() {
  text_[used_++] = '\n';
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text_, used_, &written, nullptr);
  used_ = 0;
}

void fail(Site site, const char *argument, const char *what, uint64_t first, uint64_t second,
          const char *part) {
  Line line;
  line.add("rtlib check: ");
  line.add(site.routine);
  line.add(": ");
  line.add(argument);
  line.add(": ");
  line.add(part);
  const uint64_t numbers[2] = {first, second};
  int next = 0;
  char piece[2] = {};
  for (const char *c = what; *c != 0; ++c) {
    if (*c == '%' && next < 2) {
      line.number(numbers[next++]);
    } else {
      piece[0] = *c;
      line.add(piece);
    }
  }
  line.add("; called at ");
  line.site(site.caller);
  line.write();
  ExitProcess(RT_EXIT_CHECK);
}

} // namespace rt::check
