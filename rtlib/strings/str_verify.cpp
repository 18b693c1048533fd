#include "byte_set.h"

// Reads the text and the set up to their first NUL, not by length, each once. The NUL is no
// member, so the walk stops at the first byte outside the set or at the text's end.
extern "C" int64_t rt_str_verify(const StrView *text, const StrView *set) {
  const rt::ByteSet members = rt::byte_set(set->data, false);
  const char *place = text->data;
  while (rt::holds(members, *place))
    ++place;
  return *place != 0 ? place - text->data + 1 : 0;
}
