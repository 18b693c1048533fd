#include "platform.h"

// Reads the text by its length only. A bare block of length * count bytes, no header and no
// terminator. A size that does not fit in 64 bits allocates nothing. The first copy is placed, then
// a forward copy from the block's start onto the rest repeats it (rt_copy_bytes keeps the
// forward-copy result for such overlap).
extern "C" void *rt_str_repeat(const StrView *text, uint64_t count) {
  RT_CHECK(view, "text", text);
  const uint64_t length = text->length;
  if (length != 0 && count > UINT64_MAX / length)
    return nullptr;
  const uint64_t total = length * count;
  char *block = static_cast<char *>(rt_alloc(total));
  if (block == nullptr || total == 0)
    return RT_MADE(block);
  rt_copy_bytes(block, text->data, length);
  rt_copy_bytes(block + length, block, total - length);
  return RT_MADE(block);
}
