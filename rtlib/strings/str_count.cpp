#include "platform.h"

// Reads both texts up to their first NUL, not by length: the search string's length is only
// tested for 0. Both texts are read NUL-terminated and the search resumes one character after the
// start of each occurrence, so overlapping occurrences all count (aa occurs three times in aaaa). A
// search string that starts with a NUL has nothing to find.
extern "C" int64_t rt_str_count(const StrView *text, const StrView *search) {
  if (search->length == 0 || search->data[0] == 0)
    return 0;
  int64_t count = 0;
  const char *place = text->data;
  while (*place != 0) {
    const char *found = strstr(place, search->data);
    if (found == nullptr)
      break;
    ++count;
    place = found + 1;
  }
  return count;
}
