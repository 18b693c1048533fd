#include <emmintrin.h>

#include "platform.h"

// The result is always that of a forward byte-by-byte copy.
//
// Separate ranges are a plain memcpy, except that from 16 to 128 bytes the copy is done here,
// sparing the call (the platform's memcpy takes longer than such a copy itself): 16-byte pieces
// from the front and from the back of the range, which meet or overlap in the middle, each group
// of up to four read before it is written. A destination below an overlapping source is a plain
// memmove.
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

inline __m128i load_16(const char *in) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
}

inline void store_16(char *out, __m128i bytes) {
  _mm_storeu_si128(reinterpret_cast<__m128i *>(out), bytes);
}

// Separate ranges of 16 to 64 bytes: the first and the last 16 bytes, and from 33 bytes on the
// 16 after the first and before the last, all read before any is written.
inline void copy_16_to_64(char *out, const char *in, uint64_t count) {
  const __m128i front = load_16(in);
  const __m128i back = load_16(in + count - 16);
  if (count > 32) {
    const __m128i front_2 = load_16(in + 16);
    const __m128i back_2 = load_16(in + count - 32);
    store_16(out + 16, front_2);
    store_16(out + count - 32, back_2);
  }
  store_16(out, front);
  store_16(out + count - 16, back);
}

// Everything but a copy of separate ranges longer than 128 bytes.
[[gnu::noinline]] void *copy_short_or_overlapping(char *out, const char *in, uint64_t count) {
  const uint64_t above = reinterpret_cast<uintptr_t>(out) - reinterpret_cast<uintptr_t>(in);
  if (above < count)
    return above == 0 ? out : copy_repeating(out, in, above, count);
  const uint64_t below = reinterpret_cast<uintptr_t>(in) - reinterpret_cast<uintptr_t>(out);
  if (below < count)
    return memmove(out, in, count);
  if (count < 16)
    return count == 0 ? out : memcpy(out, in, count);
  if (count > 64) {
    // The first 64 bytes, then the last 64, which overlap them unless the count is 128. Doing
    // it in two halves keeps to the registers that a routine may use without saving them.
    copy_16_to_64(out, in, 64);
    copy_16_to_64(out + count - 64, in + count - 64, 64);
    return out;
  }
  copy_16_to_64(out, in, count);
  return out;
}

} // namespace

// Both ways out are tail jumps, so that a long copy of separate ranges costs a few comparisons
// more than memcpy itself. (With the other cases here, a compiler may keep the destination in a
// saved register for one shared return, and call memcpy instead of jumping to it.)
extern "C" RT_LEAF void *rt_copy_bytes(void *destination, const void *source, uint64_t count) {
  char *out = static_cast<char *>(destination);
  const char *in = static_cast<const char *>(source);
  const uint64_t above = reinterpret_cast<uintptr_t>(out) - reinterpret_cast<uintptr_t>(in);
  const uint64_t below = reinterpret_cast<uintptr_t>(in) - reinterpret_cast<uintptr_t>(out);
  // Either difference wraps to a huge value when its side is the lower one.
  if (count > 128 && above >= count && below >= count)
    return memcpy(out, in, count);
  return copy_short_or_overlapping(out, in, count);
}
