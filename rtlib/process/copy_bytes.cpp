#include "platform.h"

// The result is always that of a forward byte-by-byte copy.
//
// Separate ranges are a plain memcpy, reached by a tail jump after a few comparisons, so that
// the copy costs what the platform's memcpy costs. A destination below an overlapping source is
// a plain memmove.
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

// Overlapping ranges, and copies of nothing. Kept apart from rt_copy_bytes, whose only ways out
// are then the two tail jumps: with a return of its own there, a compiler may keep the
// destination in a saved register for one shared return and call memcpy instead of jumping.
[[gnu::noinline]] void *copy_overlapping(char *out, const char *in, uint64_t count) {
  const uint64_t above = reinterpret_cast<uintptr_t>(out) - reinterpret_cast<uintptr_t>(in);
  if (count == 0 || above == 0)
    return out;
  if (above < count)
    return copy_repeating(out, in, above, count);
  return memmove(out, in, count);
}

} // namespace

extern "C" RT_LEAF void *rt_copy_bytes(void *destination, const void *source, uint64_t count) {
  char *out = static_cast<char *>(destination);
  const char *in = static_cast<const char *>(source);
  const uint64_t above = reinterpret_cast<uintptr_t>(out) - reinterpret_cast<uintptr_t>(in);
  const uint64_t below = reinterpret_cast<uintptr_t>(in) - reinterpret_cast<uintptr_t>(out);
  // Either difference wraps to a huge value when its side is the lower one, so the smaller is
  // the distance between the starts; the ranges are separate when the count is no larger. A
  // count of 0 wraps to the largest value and is left to copy_overlapping, which touches
  // nothing then.
  const uint64_t gap = above < below ? above : below;
  if (count - 1 < gap)
    return memcpy(out, in, count);
  return copy_overlapping(out, in, count);
}
