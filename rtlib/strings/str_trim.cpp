#include "platform.h"

// White space is space, TAB, CR and LF only. The trims keep the text where it lies: data moves
// forward past leading white space, length drops trailing white space, and a NUL goes behind
// the new last character. They read the text by its length only; the NUL they write lies at
// most at data + length (where the terminator stands), and a text of length 0 is not touched.

namespace {

RT_LEAF bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

RT_LEAF uint64_t leading_white(const StrView *text) {
  uint64_t n = 0;
  while (n < text->length && is_white(text->data[n]))
    ++n;
  return n;
}

// The length without white space at the end, looking no further back than offset from.
uint64_t end_without_white(const StrView *text, uint64_t from) {
  uint64_t end = text->length;
  while (end > from && is_white(text->data[end - 1]))
    --end;
  return end;
}

} // namespace

extern "C" int64_t rt_str_trim(StrView *text) {
  if (text->length == 0)
    return 0;
  const uint64_t start = leading_white(text);
  const uint64_t end = end_without_white(text, start);
  text->data += start;
  text->length = end - start;
  text->data[text->length] = 0;
  return 0;
}

extern "C" int64_t rt_str_ltrim(StrView *text) {
  if (text->length == 0)
    return 0;
  const uint64_t start = leading_white(text);
  text->data += start;
  text->length -= start;
  text->data[text->length] = 0;
  return 0;
}

extern "C" int64_t rt_str_rtrim(StrView *text) {
  if (text->length == 0)
    return 0;
  text->length = end_without_white(text, 0);
  text->data[text->length] = 0;
  return 0;
}
