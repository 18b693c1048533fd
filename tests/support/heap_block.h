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

// Whether blocks are exactly the size asked for on the process heap: not under the checked
// runtime (RTLIB_CHECKED), whose blocks carry a header and guard bytes of their own, so that
// tests built against it leave block sizes out.
#if defined(RTLIB_CHECKED)
inline constexpr bool exact_heap_blocks = false;
#else
inline constexpr bool exact_heap_blocks = true;
#endif
// A block's exact size on the process heap, where blocks have their exact size.
#define EXPECT_HEAP_BLOCK_SIZE(block, size)                                                        \
  EXPECT_EQ(exact_heap_blocks ? heap_block_size(block) : std::optional<uint64_t>(size),            \
            std::optional<uint64_t>(size))
