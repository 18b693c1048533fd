#include "platform.h"

// White space is space, TAB, CR and LF only. The trims keep the text where it lies: data moves
// forward past leading white space, length drops trailing white space, and a NUL goes behind
// the new last character. They read the text by its length only; the NUL they write lies at
// most at data + length (where the terminator stands), and a text of length 0 is not touched.

namespace {

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The trims themselves: white space off the start (front), off the end (back), or both; the
// end is looked for no further back than the new start.
[[gnu::noinline]] int64_t trim(StrView *text, bool front, bool back) {
  const uint64_t length = text->length;
  if (length == 0)
    return 0;
  uint64_t start = 0;
  while (front && start < length && is_white(text->data[start]))
    ++start;
  uint64_t end = length;
  while (back && end > start && is_white(text->data[end - 1]))
    --end;
  text->data += start;
  text->length = end - start;
  text->data[text->length] = 0;
  return 0;
}

} // namespace

extern "C" RT_LEAF int64_t rt_str_trim(StrView *text) {
  RT_CHECK(view_in_place, "text", text, 1);
  return trim(text, true, true);
}

extern "C" RT_LEAF int64_t rt_str_ltrim(StrView *text) {
  RT_CHECK(view_in_place, "text", text, 1);
  return trim(text, true, false);
}

extern "C" RT_LEAF int64_t rt_str_rtrim(StrView *text) {
  RT_CHECK(view_in_place, "text", text, 1);
  return trim(text, false, true);
}
