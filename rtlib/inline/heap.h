// Runtime-side helpers of the inline profile's string routines, on top of the public building
// blocks (allocate_or_exit, release_block, var_of, owns_block).
#pragma once

#include "marks.h"
#include "rtlib_inline.hpp"

namespace rt_inline {

// Hides where a block came from, so that the compiler cannot fuse malloc and the memset that
// follows into one calloc call: the block is made by exactly those two calls.
inline void *opaque(void *block) {
#if defined(__GNUC__)
  __asm__("" : "+r"(block));
#endif
  return block;
}

// Writes count zero bytes at text + at; the zero tail that follows every stored text.
inline void zero_tail(char *text, uint64_t at, unsigned count) {
  for (unsigned i = 0; i < count; ++i)
    text[at + i] = 0;
}

} // namespace rt_inline
