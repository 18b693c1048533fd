#include "record.h"

namespace {

// Digits of the value read as unsigned, most significant first, in a 104-byte record of
// capacity 72; shift is the number of bits per digit (1 binary, 3 octal). Zero is the single
// digit 0; there is never a sign or a prefix.
RtString *digits_record(uint64_t value, unsigned shift) {
  RtString *record = rt::fixed_record(104, 72);
  if (record == nullptr)
    return nullptr;
  const uint64_t mask = (uint64_t{1} << shift) - 1;
  char scratch[64];
  size_t start = sizeof scratch;
  do {
    scratch[--start] = static_cast<char>('0' + (value & mask));
    value >>= shift;
  } while (value != 0);
  const size_t count = sizeof scratch - start;
  rt_copy_bytes(record->data, scratch + start, count);
  record->data[count] = 0;
  record->length = count;
  return record;
}

} // namespace

extern "C" RT_LEAF RtString *rt_str_bin(uint64_t value) {
  return RT_MADE(digits_record(value, 1));
}

extern "C" RT_LEAF RtString *rt_str_oct(uint64_t value) {
  return RT_MADE(digits_record(value, 3));
}
