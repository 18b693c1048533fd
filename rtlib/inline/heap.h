// Heap blocks of the inline profile: msvcrt malloc/free, and exit code 1 at once when an
// allocation fails (no string is released and no handle slot closed on that path).
//
// The helpers live in namespace rt_inline on purpose: on the host build rt_host_platform.h
// declares recording rt_inline::malloc, free and memset, which unqualified calls from this
// namespace find before the C library's; on Windows there are none and the calls reach msvcrt.
#pragma once

#include "../platform.h"

namespace rt_inline {

inline void *allocate_or_exit(uint64_t size) {
  void *const block = malloc(static_cast<size_t>(size));
  if (block == nullptr)
    ExitProcess(1);
  return block;
}

// Hides where a block came from, so that the compiler cannot fuse malloc and the memset that
// follows into one calloc call: the block is made by exactly those two calls.
inline void *opaque(void *block) {
#if defined(__GNUC__)
  __asm__("" : "+r"(block));
#endif
  return block;
}

inline void release_block(void *block) {
  free(block);
}

inline void fill_zero(void *block, uint64_t size) {
  memset(block, 0, static_cast<size_t>(size));
}

// A StrRef is the address of a StrVar's data word; the record starts two words before it.
inline StrVar *var_of(StrRef ref) {
  return reinterpret_cast<StrVar *>(reinterpret_cast<char *>(ref) - offsetof(StrVar, data));
}
inline StrRef ref_to(StrVar &var) {
  return &var.data;
}

// A variable owns its block only when capacity is at least 1.
inline bool owns_block(const StrVar &var) {
  return var.capacity >= 1 && var.data != nullptr;
}

// Writes count zero bytes at text + at; the zero tail that follows every stored text.
inline void zero_tail(char *text, uint64_t at, unsigned count) {
  for (unsigned i = 0; i < count; ++i)
    text[at + i] = 0;
}

} // namespace rt_inline
