#include "record.h"

namespace {

// The next occurrence at or after place in the source, or null. Candidates come from strstr
// over the NUL-terminated views; one counts only where all of the search string's bytes
// match and lie inside the source's length, so nothing outside the source is ever read,
// whatever the search string holds.
const char *next_occurrence(const char *place, const StrView *source, const StrView *search) {
  const uint64_t m = search->length;
  while (*place != 0) {
    const char *found = strstr(place, search->data);
    if (found == nullptr)
      return nullptr;
    const uint64_t offset = static_cast<uint64_t>(found - source->data);
    if (offset <= source->length && source->length - offset >= m &&
        memcmp(found, search->data, m) == 0)
      return found;
    place = found + 1;
  }
  return nullptr;
}

// Length of the result: source length + count * (replacement - search). False when it does
// not fit in 64 bits. Occurrences do not overlap, so a shrinking result cannot go below 0.
bool result_length(uint64_t length, uint64_t count, uint64_t search, uint64_t replacement,
                   uint64_t *result) {
  if (replacement < search) {
    *result = length - count * (search - replacement);
    return true;
  }
  const uint64_t growth = replacement - search;
  if (growth != 0 && count > UINT64_MAX / growth)
    return false;
  if (count * growth > UINT64_MAX - length)
    return false;
  *result = length + count * growth;
  return true;
}

} // namespace

// Occurrences do not overlap: after each one the scan resumes behind it (aa in aaa is found
// once). A search string that is empty or starts with a NUL has nothing to find. Whenever
// there is nothing to replace or the result cannot be made, a plain copy comes back.
extern "C" RtString *rt_str_replace(const StrView *source, const StrView *search,
                                    const StrView *replacement) {
  const uint64_t m = search->length;
  if (m == 0 || search->data[0] == 0)
    return rt_str_dup(source);
  uint64_t count = 0;
  for (const char *found = next_occurrence(source->data, source, search); found != nullptr;
       found = next_occurrence(found + m, source, search))
    ++count;
  if (count == 0)
    return rt_str_dup(source);
  uint64_t length = 0;
  if (!result_length(source->length, count, m, replacement->length, &length))
    return rt_str_dup(source);
  RtString *record = rt::sized_record(length);
  if (record == nullptr)
    return rt_str_dup(source);
  char *out = record->data;
  const char *place = source->data;
  for (const char *found = next_occurrence(place, source, search); found != nullptr;
       found = next_occurrence(place, source, search)) {
    const uint64_t before = static_cast<uint64_t>(found - place);
    rt_copy_bytes(out, place, before);
    rt_copy_bytes(out + before, replacement->data, replacement->length);
    out += before + replacement->length;
    place = found + m;
  }
  const uint64_t rest = source->length - static_cast<uint64_t>(place - source->data);
  rt_copy_bytes(out, place, rest);
  out[rest] = 0;
  return record;
}
