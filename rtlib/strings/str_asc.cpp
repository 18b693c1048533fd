#include "platform.h"

// For an empty text the byte read is the terminator: 0.
extern "C" int64_t rt_str_asc(const StrView *text) {
  return static_cast<unsigned char>(text->data[0]);
}
