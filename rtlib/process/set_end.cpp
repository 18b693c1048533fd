#include "platform.h"

// Shortens a record's text in place: only a count up to the current length passes, and then
// the length and the terminator change together. The count comes back either way.
extern "C" RT_LEAF uint64_t rt_set_end(char *data, uint64_t count, StrView *record) {
  RT_CHECK(writable, "record", record, sizeof *record);
  RT_CHECK(writable_at, "data", data, count, count <= record->length ? 1 : 0);
  if (count <= record->length) {
    record->length = count;
    data[count] = 0;
  }
  return count;
}
