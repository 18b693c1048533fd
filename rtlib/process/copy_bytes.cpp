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

// Kept out of line, so that the routines that jump to it need no stack frame.
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

// Overlapping ranges, and copies of nothing.
[[gnu::noinline]] void *copy_overlapping(char *out, const char *in, uint64_t count) {
  const uint64_t above = reinterpret_cast<uintptr_t>(out) - reinterpret_cast<uintptr_t>(in);
  if (count == 0 || above == 0)
    return out;
  if (above < count)
    return copy_repeating(out, in, above, count);
  return memmove(out, in, count);
}

} // namespace

// Every call rt_copy_bytes makes is a tail jump, so that a copy that memcpy does costs a few
// comparisons more than memcpy itself. This file is compiled with memcpy not taken for the
// built-in copy: a compiler that knows memcpy returns its destination may otherwise keep the
// destination in a saved register for one shared return, and call memcpy instead of jumping to
// it. It is no RT_LEAF: GCC, told so, realigns the stack for the SSE2 code here.
extern "C" void *rt_copy_bytes(void *destination, const void *source, uint64_t count) {
  RT_CHECK(writable, "destination", destination, count);
  RT_CHECK(readable, "source", source, count);
  char *out = static_cast<char *>(destination);
  const char *in = static_cast<const char *>(source);
  const uint64_t above = reinterpret_cast<uintptr_t>(out) - reinterpret_cast<uintptr_t>(in);
  const uint64_t below = reinterpret_cast<uintptr_t>(in) - reinterpret_cast<uintptr_t>(out);
  // Either difference wraps to a huge value when its side is the lower one, so the smaller is
  // the distance between the starts; the ranges are separate when the count is no larger. A
  // count of 0 wraps to the largest value and is left to copy_overlapping, which touches
  // nothing then.
  const uint64_t gap = above < below ? above : below;
  if (count - 1 >= gap)
    return copy_overlapping(out, in, count);
  if (count - 16 > 128 - 16)
    return memcpy(out, in, count);
  if (count > 64) {
    // The first 64 bytes, then the last 64, which overlap them unless the count is 128. Doing
    // it in two halves keeps to the registers that a routine may use without saving them.
    copy_16_to_64(out, in, 64);
    copy_16_to_64(out + count - 64, in + count - 64, 64);
    return destination;
  }
  copy_16_to_64(out, in, count);
  return destination;
}
