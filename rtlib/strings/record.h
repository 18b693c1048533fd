// Helpers shared by the string routines that build records. A record's text area begins
// directly behind its four header words, 32 bytes from the start of its block.
#pragma once

#include "platform.h"

namespace rt {

inline char *text_area(RtString *record) {
  return reinterpret_cast<char *>(record + 1);
}

// A record in a zero-filled block of block_bytes: data at the text area, length 0, the given
// capacity, inline flag 1, text all NUL. Null when the block cannot be had.
RtString *fixed_record(uint64_t block_bytes, uint64_t capacity);

// A record sized to its text: one block of length + 33 bytes, data at the text area, length
// and capacity equal to length, inline flag 1. Null when that size does not fit in 64 bits or
// the block cannot be had.
RtString *sized_record(uint64_t length);

} // namespace rt
