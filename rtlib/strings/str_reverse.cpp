#include "platform.h"

// Reads and writes only the length bytes of the text. Swaps the bytes pairwise from both ends; the
// middle byte of an odd length and the terminator stay where they are.
extern "C" RT_LEAF int64_t rt_str_reverse(StrView *text) {
  RT_CHECK(view_in_place, "text", text, 0);
  char *data = text->data;
  const uint64_t length = text->length;
  for (uint64_t i = 0; i < length / 2; ++i) {
    const char c = data[i];
    data[i] = data[length - 1 - i];
    data[length - 1 - i] = c;
  }
  return 0;
}
