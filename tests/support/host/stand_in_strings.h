// Test-facing side of the heap and case-conversion stand-ins. Heap blocks are real allocations
// of exactly the size asked for (so AddressSanitizer sees every byte past a block), zero-filled
// when HEAP_ZERO_MEMORY is given and filled with 0xBE otherwise; a reallocated block always
// moves. Unknown blocks are refused, as a real heap would report them.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "stand_in.h"

namespace standin {

// The handle GetProcessHeap returns.
inline HANDLE const process_heap = reinterpret_cast<HANDLE>(uintptr_t{0x4EA90000});
// Requests above this many bytes fail unless told otherwise (set_heap_limit).
inline constexpr uint64_t default_heap_limit = uint64_t{1} << 30;

// Outcomes for the next HeapAlloc/HeapReAlloc calls, used up in order (false: the call fails);
// afterwards a request succeeds when it is within the limit.
void script_heap_results(std::deque<bool> results);
void set_heap_limit(uint64_t bytes);
// Forgets the script and restores the limit; live blocks stay live.
void reset_heap();
// Size of a live block handed out by HeapAlloc/HeapReAlloc, or nothing.
std::optional<uint64_t> heap_block_size(const void *block);
// Number of live blocks.
size_t heap_live_blocks();

} // namespace standin
