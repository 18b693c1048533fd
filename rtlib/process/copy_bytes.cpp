#include <emmintrin.h>

#include "platform.h"

// The result is always that of a forward byte-by-byte copy.
//
// Separate ranges are a plain memcpy, except that from 16 to 128 bytes the copy is done here,
// sparing the call: 16-byte pieces from the front and from the back of the range, as many of
// each as cover the largest of 16, 32 or 64 bytes that is below the count (at least half of
// it), so the two series meet or overlap in the middle. A destination below an overlapping
// source is a plain memmove.
//
// Where the destination starts inside the source above its start, a forward copy reads bytes it
// has already written, so the first (destination - source) bytes repeat across the destination:
// up to 64 bytes that is done byte by byte, beyond that by doubling the part already written.

namespace {

// Kept out of line, so that the copy of separate ranges needs no stack frame.
[[gnu::noinline]] void *copy_repeating(char *out, const char *in, uint64_t distance,
                                       uint64_t count) {
  if (count <= 64) {
    for (uint64_t i = 0; i < count; ++i)
      out[i] = in[i];
    return out;
  }
  memcpy(out, in, distance);
  uint64_t filled = distance;
  while (filled < count) {
    const uint64_t piece = filled < count - filled ? filled : count - filled;
    memcpy(out + filled, out, piece);
    filled += piece;
  }
  return out;
}

inline void copy_16(char *out, const char *in) {
  _mm_storeu_si128(reinterpret_cast<__m128i *>(out),
                   _mm_loadu_si128(reinterpret_cast<const __m128i *>(in)));
}

} // namespace

extern "C" void *rt_copy_bytes(void *destination, const void *source, uint64_t count) {
  char *out = static_cast<char *>(destination);
  const char *in = static_cast<const char *>(source);
  const uint64_t above = reinterpret_cast<uintptr_t>(out) - reinterpret_cast<uintptr_t>(in);
  const uint64_t below = reinterpret_cast<uintptr_t>(in) - reinterpret_cast<uintptr_t>(out);
  // Either difference wraps to a huge value when its side is the lower one.
  if (above >= count && below >= count) {
    if (count - 16 > 128 - 16) {
      if (count == 0)
        return destination;
      return memcpy(out, in, count);
    }
    const uint64_t half = count > 64 ? 64 : count > 32 ? 32 : 16;
    const uint64_t back = count - half;
    for (uint64_t i = 0; i < half; i += 16) {
      copy_16(out + i, in + i);
      copy_16(out + back + i, in + back + i);
    }
    return destination;
  }
  if (above < count)
    return above == 0 ? destination : copy_repeating(out, in, above, count);
  return memmove(out, in, count);
}
