#include "byte_set.h"

// Reads the text and the set up to their first NUL, not by length, each once.
extern "C" int64_t rt_str_verify(const StrView *text, const StrView *set) {
  RT_CHECK(view_text, "text", text);
  RT_CHECK(view_text, "set", set);
  const char *place = rt::scan_set(text->data, set->data, false);
  return *place != 0 ? place - text->data + 1 : 0;
}
