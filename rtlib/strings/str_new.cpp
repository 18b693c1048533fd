#include "record.h"

// An empty record: 64-byte block, capacity 32, the terminator already in place.
extern "C" RT_LEAF RtString *rt_str_new(void) {
  return RT_MADE(rt::fixed_record(64, 32));
}

extern "C" RT_LEAF RtString *rt_str_empty(void) {
  return RT_MADE(rt_str_new());
}
