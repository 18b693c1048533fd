#include "examined.h"
#include "search.h"

// Reads both texts up to their first NUL, not by length: the search string's length is only
// tested for 0. The search goes on one character after the start of each occurrence, so
// overlapping occurrences all count (aa occurs three times in aaaa). A search string that starts
// with a NUL has nothing to find.
extern "C" int64_t rt_str_count(const StrView *text, const StrView *search) {
  if (search->length == 0 || search->data[0] == 0)
    return 0;
  const uint64_t n = strlen(text->data);
  const uint64_t m = strlen(search->data);
  RT_EXAMINED(n + m);
  if (m == 1)
    return static_cast<int64_t>(rt::count_byte(text->data, n, search->data[0]));
  rt::Search s;
  rt::search_start(s, search->data, m);
  int64_t count = 0;
  for (uint64_t at = rt::search_next(s, text->data, n, 0); at != n;
       at = rt::search_next(s, text->data, n, at + 1))
    ++count;
  return count;
}
