#include "record.h"

// What is read: the source only inside [data, data + length), the search string only inside
// its length, the replacement by its length. An occurrence is what strstr would find in the
// source read as a NUL-terminated text from the place the scan stands at, with that text cut
// at the source's length: the search string's bytes up to its first NUL (or all of them) lie
// in the source before its next NUL, and all length bytes of the search string match there.
// For a source that ends in its NUL this is exactly strstr's answer.

namespace {

struct Search {
  const char *end;     // source data + length
  const StrView *full; // all length bytes of the search string
  StrView lead;        // its bytes up to its first NUL, at least one of them
};

// The next occurrence at or after place, or null. The scan stays inside the NUL-terminated
// stretch that starts at place, as strstr's would.
const char *next_occurrence(const char *place, const Search &s) {
  const uint64_t left = static_cast<uint64_t>(s.end - place);
  if (left == 0)
    return nullptr;
  const char *nul = static_cast<const char *>(memchr(place, 0, left));
  const char *stop = nul == nullptr ? s.end : nul;
  const uint64_t m = s.full->length;
  for (;;) {
    StrView stretch{const_cast<char *>(place), static_cast<uint64_t>(stop - place)};
    const int64_t at = rt_instr(&stretch, &s.lead);
    if (at == 0)
      return nullptr;
    const char *found = place + (at - 1);
    if (static_cast<uint64_t>(s.end - found) >= m && memcmp(found, s.full->data, m) == 0)
      return found;
    place = found + 1;
  }
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
  const char *search_nul = static_cast<const char *>(memchr(search->data, 0, m));
  const uint64_t lead =
      search_nul == nullptr ? m : static_cast<uint64_t>(search_nul - search->data);
  const Search s{source->data + source->length, search, StrView{search->data, lead}};
  uint64_t count = 0;
  for (const char *found = next_occurrence(source->data, s); found != nullptr;
       found = next_occurrence(found + m, s))
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
  for (const char *found = next_occurrence(place, s); found != nullptr;
       found = next_occurrence(place, s)) {
    const uint64_t before = static_cast<uint64_t>(found - place);
    rt_copy_bytes(out, place, before);
    rt_copy_bytes(out + before, replacement->data, replacement->length);
    out += before + replacement->length;
    place = found + m;
  }
  const uint64_t rest = static_cast<uint64_t>(s.end - place);
  rt_copy_bytes(out, place, rest);
  out[rest] = 0;
  return record;
}
