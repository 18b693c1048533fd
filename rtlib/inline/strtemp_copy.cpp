#include "heap.h"

// A fresh block holding the view's bytes followed by 8 zero bytes; the statement owns it.
extern "C" StrTemp rt_strtemp_copy(const char *data, int64_t length) {
  RT_CHECK(not_negative, "length", length);
  RT_CHECK(readable, "data", data, static_cast<uint64_t>(length));
  const uint64_t n = static_cast<uint64_t>(length);
  char *const block = static_cast<char *>(rt_inline::allocate_or_exit(n + RT_STRTEMP_TAIL_BYTES));
  if (n != 0)
    memcpy(block, data, static_cast<size_t>(n));
  rt_inline::zero_tail(block, n, RT_STRTEMP_TAIL_BYTES);
  return StrTemp{block, length};
}
