#include "byte_set.h"
#include "record.h"

// Reads the text and the set up to their first NUL, not by length, each once. The character
// found comes back as a record of its own: 40-byte block, capacity 8.
extern "C" RtString *rt_str_find_any(const StrView *text, const StrView *set) {
  RT_CHECK(view_text, "text", text);
  RT_CHECK(view_text, "set", set);
  const char *found = rt::scan_set(text->data, set->data, true);
  if (*found == 0)
    return nullptr;
  RtString *record = rt::fixed_record(40, 8);
  if (record == nullptr)
    return nullptr;
  record->data[0] = *found;
  record->length = 1;
  return RT_MADE(record);
}
