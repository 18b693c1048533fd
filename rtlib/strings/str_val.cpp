#include "platform.h"

// Reads the text up to its first NUL at most (atol), not by length. atol's value is a signed 32-bit
// one and reaches the caller sign-extended. Where long is wider than 32 bits (the host build), the
// value is cut to its low 32 bits, which is what a 32-bit atol that wraps on overflow gives.
extern "C" int64_t rt_str_val(const StrView *text) {
  RT_CHECK(view_text, "text", text);
  return static_cast<int32_t>(atol(text->data));
}
