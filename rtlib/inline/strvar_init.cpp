#include "heap.h"

// A dynamic variable starts on a 520-byte block with room for 512 text bytes; its first 8
// bytes are zero.
extern "C" void rt_strvar_init(StrVar *var) {
  char *const block = static_cast<char *>(rt_inline::allocate_or_exit(520));
  var->data = block;
  var->length = 0;
  var->capacity = 512;
  rt_inline::zero_tail(block, 0, 8);
}

// A fixed-size variable lives on its own inline buffer of size bytes, marked by a negative
// capacity; nothing is allocated and nothing is ever released for it.
extern "C" void rt_strvar_init_fixed(StrVar *var, char *buffer, int64_t size) {
  var->data = buffer;
  var->length = 0;
  var->capacity = static_cast<int64_t>(0u - static_cast<uint64_t>(size));
  for (int64_t i = 0; i < size; ++i)
    buffer[i] = 0;
}
