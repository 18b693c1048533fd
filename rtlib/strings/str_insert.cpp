#include "record.h"

// Reads both texts by their lengths only. The position is clamped to 1 .. length + 1;
// everything is copied by length, NUL bytes too.
extern "C" RtString *rt_str_insert(const StrView *source, const StrView *inserted,
                                   int64_t position) {
  RT_CHECK(view, "source", source);
  RT_CHECK(view, "inserted", inserted);
  const uint64_t length = source->length;
  const uint64_t added = inserted->length;
  uint64_t offset = 0;
  if (position > 1) {
    offset = static_cast<uint64_t>(position) - 1;
    if (offset > length)
      offset = length;
  }
  if (added > UINT64_MAX - length)
    return nullptr;
  RtString *record = rt::sized_record(length + added);
  if (record == nullptr)
    return nullptr;
  char *out = record->data;
  rt_copy_bytes(out, source->data, offset);
  rt_copy_bytes(out + offset, inserted->data, added);
  rt_copy_bytes(out + offset + added, source->data + offset, length - offset);
  out[length + added] = 0;
  return RT_MADE(record);
}
