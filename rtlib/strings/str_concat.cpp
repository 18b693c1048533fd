#include "platform.h"

// Reads both texts by their lengths only. Both views are read before the destination changes, so a
// destination that is also one of the sources still gets the right text. A total that does not fit
// is reported like a failed allocation: 1, destination untouched.
extern "C" int64_t rt_str_concat(RtString *destination, const StrView *first,
                                 const StrView *second) {
  RT_CHECK(writable, "destination", destination, sizeof *destination);
  RT_CHECK(view, "first", first);
  RT_CHECK(view, "second", second);
  const char *first_data = first->data;
  const char *second_data = second->data;
  const uint64_t first_length = first->length;
  const uint64_t second_length = second->length;
  if (first_length >= UINT64_MAX || second_length >= UINT64_MAX - first_length)
    return 1;
  const uint64_t total = first_length + second_length;
  char *text = static_cast<char *>(rt_alloc(total + 1));
  if (text == nullptr)
    return 1;
  rt_copy_bytes(text, first_data, first_length);
  rt_copy_bytes(text + first_length, second_data, second_length);
  text[total] = 0;
  destination->data = RT_MADE(text);
  destination->length = total;
  destination->capacity = total;
  destination->inline_flag = 0;
  return 0;
}
