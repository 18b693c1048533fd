// Test helper for both tiers: the size of a live heap block of the inline profile (msvcrt's
// own record on Windows, the stand-in's on the host), and freeing one the way the runtime
// does.
#pragma once

#include <cstddef>
#include <cstdlib>

#if defined(_WIN32)
#include <malloc.h>
inline size_t block_size(const void *block) {
  return _msize(const_cast<void *>(block));
}
inline void free_block(void *block) {
  free(block);
}
#else
#include "stand_in_inline.h"
inline size_t block_size(const void *block) {
  const auto &live = standin::inline_profile::live_blocks();
  const auto it = live.find(block);
  return it == live.end() ? 0 : it->second;
}
inline void free_block(void *block) {
  rt_inline::free(block);
}
#endif
