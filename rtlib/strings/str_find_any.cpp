#include "byte_set.h"
#include "record.h"

// Reads the text and the set up to their first NUL, not by length, each once: the NUL joins the
// set's members, so the walk stops at the first member or at the text's end. The character
// found comes back as a record of its own: 40-byte block, capacity 8.
extern "C" RtString *rt_str_find_any(const StrView *text, const StrView *set) {
  const rt::ByteSet members = rt::byte_set(set->data, true);
  const char *found = text->data;
  while (!rt::holds(members, *found))
    ++found;
  if (*found == 0)
    return nullptr;
  RtString *record = rt::fixed_record(40, 8);
  if (record == nullptr)
    return nullptr;
  record->data[0] = *found;
  record->length = 1;
  return record;
}
