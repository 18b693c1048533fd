#include "examined.h"
#include "search.h"

// Reads both texts up to their first NUL, not by length: the search string's length is only
// tested for 0. Overlapping occurrences all count (aa occurs three times in aaaa), as if the
// search went on one character after the start of each. A search string that starts with a
// NUL has nothing to find.
extern "C" int64_t rt_str_count(const StrView *text, const StrView *search) {
  RT_CHECK(view_text, "text", text);
  RT_CHECK(view_text_unless_empty, "search", search);
  if (search->length == 0 || search->data[0] == 0)
    return 0;
  const StrView y{text->data, strlen(text->data)};
  const StrView x{search->data, strlen(search->data)};
  RT_EXAMINED(y.length + x.length);
  return static_cast<int64_t>(rt::search(&y, &x, 0, true));
}
