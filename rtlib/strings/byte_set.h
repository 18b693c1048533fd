// A set of byte values as 256 bits on the stack, for the routines that look text bytes up in a
// set of characters: building it reads the set once, and each look-up is one bit test, so the
// cost is linear in text + set whatever the set's size.
#pragma once

#include "platform.h"

namespace rt {

struct ByteSet {
  uint64_t bits[4];
};

// The bytes of the NUL-terminated set; the NUL itself is a member only when with_nul is true.
inline ByteSet byte_set(const char *set, bool with_nul) {
  ByteSet s = {{with_nul ? uint64_t{1} : 0, 0, 0, 0}};
  for (const unsigned char *p = reinterpret_cast<const unsigned char *>(set); *p != 0; ++p)
    s.bits[*p >> 6] |= uint64_t{1} << (*p & 63);
  return s;
}

inline bool holds(const ByteSet &s, char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  return ((s.bits[b >> 6] >> (b & 63)) & 1) != 0;
}

} // namespace rt
