#include "heap.h"

// Joins two temporaries into a fresh block (the text, then 4 zero bytes) and releases both.
// Two empty operands give the null value with length 0 and leave no block behind.
extern "C" StrTemp rt_strtemp_concat(StrTemp left, StrTemp right) {
  RT_CHECK(temp, "left", left);
  RT_CHECK(temp, "right", right);
  RT_CHECK(distinct_blocks, "right", left.data, right.data);
  const uint64_t m = static_cast<uint64_t>(left.length);
  const uint64_t k = static_cast<uint64_t>(right.length);
  const uint64_t total = m + k;
  if (total == 0) {
    if (left.data != nullptr)
      rt_inline::release_block(left.data);
    if (right.data != nullptr)
      rt_inline::release_block(right.data);
    return StrTemp{nullptr, 0};
  }
  // Lengths of real blocks never come near this; anything beyond cannot be allocated.
  if (total > static_cast<uint64_t>(INT64_MAX) - RT_STRTEMP_TAIL_BYTES)
    ExitProcess(RT_EXIT_NO_MEMORY);
  char *const block =
      static_cast<char *>(rt_inline::allocate_or_exit(total + RT_STRTEMP_TAIL_BYTES));
  uint64_t at = 0;
  if (m != 0) {
    memcpy(block + at, left.data, static_cast<size_t>(m));
    at += m;
  }
  if (k != 0)
    memcpy(block + at, right.data, static_cast<size_t>(k));
  if (left.data != nullptr)
    rt_inline::release_block(left.data);
  if (right.data != nullptr)
    rt_inline::release_block(right.data);
  rt_inline::zero_tail(block, total, 4);
  return StrTemp{block, static_cast<int64_t>(total)};
}
