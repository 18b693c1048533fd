#include "platform.h"

// Positions compare unsigned; a second position below the first stores nothing.
extern "C" RT_LEAF void rt_terminate_at(char *buffer, uint64_t first, uint64_t second) {
  RT_CHECK(writable_at, "buffer", buffer, second - first, second >= first ? 1 : 0);
  if (second >= first)
    buffer[second - first] = 0;
}
