#include "platform.h"

// Reads one byte, the first at data, whatever the length: for an empty text that is the
// terminator, so the result is 0.
extern "C" RT_LEAF int64_t rt_str_asc(const StrView *text) {
  RT_CHECK(readable, "text", text, sizeof *text);
  RT_CHECK(readable, "text", text->data, 1);
  return static_cast<unsigned char>(text->data[0]);
}
