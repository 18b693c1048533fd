#include "platform.h"

// Reads the text and the set up to their first NUL (strspn, strlen), not by length.

extern "C" int64_t rt_str_verify(const StrView *text, const StrView *set) {
  const size_t span = strspn(text->data, set->data);
  const size_t length = strlen(text->data);
  return span < length ? static_cast<int64_t>(span) + 1 : 0;
}
