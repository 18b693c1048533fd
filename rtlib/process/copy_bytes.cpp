#include "platform.h"

// The result is always that of a forward byte-by-byte copy. Where the destination starts
// inside the source above its start, such a copy reads bytes it has already written, so the
// first (destination - source) bytes repeat across the destination; that pattern is built by
// doubling the part already written. A destination below an overlapping source is a plain
// memmove, and separate ranges are a plain memcpy.
extern "C" void *rt_copy_bytes(void *destination, const void *source, uint64_t count) {
  if (count == 0 || destination == source)
    return destination;
  const uintptr_t to = reinterpret_cast<uintptr_t>(destination);
  const uintptr_t from = reinterpret_cast<uintptr_t>(source);
  char *out = static_cast<char *>(destination);
  const uint64_t distance = to - from; // wraps to a huge value when the destination is below
  if (distance < count) {
    memcpy(out, source, distance);
    uint64_t filled = distance;
    while (filled < count) {
      const uint64_t piece = filled < count - filled ? filled : count - filled;
      memcpy(out + filled, out, piece);
      filled += piece;
    }
  } else if (from - to < count) {
    memmove(out, source, count);
  } else {
    memcpy(out, source, count);
  }
  return destination;
}
