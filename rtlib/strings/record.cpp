#include "record.h"

namespace rt {

RtString *fixed_record(uint64_t block_bytes, uint64_t capacity) {
  RtString *record = static_cast<RtString *>(rt_alloc(block_bytes));
  if (record == nullptr)
    return nullptr;
  record->data = text_area(record);
  record->length = 0;
  record->capacity = capacity;
  record->inline_flag = 1;
  return record;
}

RtString *sized_record(uint64_t length) {
  constexpr uint64_t overhead = sizeof(RtString) + 1; // header and terminator
  if (length > UINT64_MAX - overhead)
    return nullptr;
  RtString *record = fixed_record(length + overhead, length);
  if (record != nullptr)
    record->length = length;
  return record;
}

} // namespace rt
