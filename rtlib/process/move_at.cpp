#include "platform.h"

// Moves count bytes to buffer + offset; the ranges may overlap. Returns the destination.
extern "C" void *rt_move_at(void *buffer, uint64_t offset, const void *source, uint64_t count) {
  RT_CHECK(writable_at, "buffer", buffer, offset, count);
  RT_CHECK(readable, "source", source, count);
  char *destination = static_cast<char *>(buffer) + offset;
  if (count != 0)
    memmove(destination, source, count);
  return destination;
}
