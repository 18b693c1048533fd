#include "record.h"

// Reads the text by its length only. An empty text has no copy: null, as when memory runs out.
extern "C" RtString *rt_str_dup(const StrView *text) {
  RT_CHECK(view, "text", text);
  const uint64_t length = text->length;
  if (length == 0)
    return nullptr;
  RtString *record = rt::sized_record(length);
  if (record == nullptr)
    return nullptr;
  rt_copy_bytes(record->data, text->data, length);
  record->data[length] = 0;
  return RT_MADE(record);
}
