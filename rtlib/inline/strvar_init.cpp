#include "heap.h"

// A dynamic variable starts on its starting block (520 bytes, room for 512 text bytes), whose
// first 8 bytes are zero.
extern "C" void rt_strvar_init(StrVar *var) {
  RT_CHECK(writable, "var", var, sizeof *var);
  char *const block = static_cast<char *>(rt_inline::allocate_or_exit(RT_STRVAR_START_BLOCK_BYTES));
  var->data = block;
  var->length = 0;
  var->capacity = RT_STRVAR_START_CAPACITY;
  rt_inline::zero_tail(block, 0, RT_STRVAR_START_ZERO_BYTES);
}

// A fixed-size variable lives on its own inline buffer of size bytes, marked by a negative
// capacity; nothing is allocated and nothing is ever released for it.
extern "C" void rt_strvar_init_fixed(StrVar *var, char *buffer, int64_t size) {
  RT_CHECK(writable, "var", var, sizeof *var);
  RT_CHECK(positive, "size", size);
  RT_CHECK(writable, "buffer", buffer, static_cast<uint64_t>(size));
  var->data = buffer;
  var->length = 0;
  var->capacity = static_cast<int64_t>(0u - static_cast<uint64_t>(size));
  for (int64_t i = 0; i < size; ++i)
    buffer[i] = 0;
}
