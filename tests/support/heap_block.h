// Size of a live block of the process heap, on either tier: HeapSize on Windows, the
// stand-in's own record on the host. Nothing when the block is not a live heap block.
#pragma once

#include <cstdint>
#include <optional>

#if defined(_WIN32)
#include <windows.h>
inline std::optional<uint64_t> heap_block_size(const void *block) {
  const SIZE_T size = HeapSize(GetProcessHeap(), 0, block);
  if (size == static_cast<SIZE_T>(-1))
    return std::nullopt;
  return size;
}
#else
#include "stand_in_strings.h"
inline std::optional<uint64_t> heap_block_size(const void *block) {
  return standin::heap_block_size(block);
}
#endif
