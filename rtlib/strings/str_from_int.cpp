#include "record.h"

// The longest text, that of INT64_MIN, has 20 characters and fits the 32-byte text area with
// its terminator.
extern "C" RtString *rt_str_from_int(int64_t value) {
  RtString *record = rt::fixed_record(64, 32);
  if (record == nullptr)
    return nullptr;
  const int written = _snprintf(record->data, 32, "%I64d", static_cast<long long>(value));
  // unreachable branch: the text always has 1 to 20 characters, so written is never below 1.
  record->length = written > 0 ? static_cast<uint64_t>(written) : 0;
  return RT_MADE(record);
}
