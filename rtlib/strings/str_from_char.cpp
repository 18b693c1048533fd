#include "record.h"

// Only the code's low 8 bits count: 321 gives the same character as 65. Code 0 gives a record
// of length 1 whose one character is NUL.
extern "C" RtString *rt_str_from_char(int64_t code) {
  RtString *record = rt::fixed_record(64, 32);
  if (record == nullptr)
    return nullptr;
  record->data[0] = static_cast<char>(static_cast<unsigned char>(code));
  record->length = 1;
  return RT_MADE(record);
}
