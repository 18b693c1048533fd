#include "record.h"

// Reads the source by its length only. Arguments that select nothing, and a result block that
// cannot be had, give a plain copy of the source (null when the source is empty). A count running
// past the end is cut there.
extern "C" RtString *rt_str_remove(const StrView *source, int64_t start, int64_t count) {
  RT_CHECK(view, "source", source);
  const uint64_t length = source->length;
  if (start < 1 || count < 1)
    return RT_MADE(rt_str_dup(source));
  const uint64_t offset = static_cast<uint64_t>(start) - 1;
  if (offset >= length)
    return RT_MADE(rt_str_dup(source));
  uint64_t removed = static_cast<uint64_t>(count);
  if (removed > length - offset)
    removed = length - offset;
  RtString *record = rt::sized_record(length - removed);
  if (record == nullptr)
    return RT_MADE(rt_str_dup(source));
  rt_copy_bytes(record->data, source->data, offset);
  rt_copy_bytes(record->data + offset, source->data + offset + removed, length - offset - removed);
  record->data[length - removed] = 0;
  return RT_MADE(record);
}
