#include "examined.h"
#include "record.h"
#include "search.h"

// What is read: the source only inside [data, data + length), the search string only inside
// its length, the replacement by its length. An occurrence is what strstr would find in the
// source read as a NUL-terminated text from the place the scan stands at, with that text cut
// at the source's length: the search string's bytes up to its first NUL (or all of them) lie
// in the source before its next NUL, and all length bytes of the search string match there.
// For a source that ends in its NUL this is exactly strstr's answer.

namespace {

// The source and search string as the scan for occurrences sees them.
struct Occurrences {
  StrView first;    // the source up to its first NUL (or all of it)
  const char *end;  // the end of the source, by its length
  const StrView *x; // the search string
  uint64_t lead;    // the length of its bytes before its first NUL (or of all of them)
};

// The first occurrence at or after place, or null (a plain function: GCC aligns a member
// function to 2 bytes, which would cost padding in the images). A search string without a NUL
// is found only in the source's first stretch (up to its first NUL), since an occurrence can
// span no NUL and the scan ends at the first stretch that holds none. A search string with a
// NUL can only match where its lead ends just before a NUL of the source: there is one such
// place for the stretch from where the scan stands to the source's next NUL, and the scan
// goes on behind the occurrence, in the next stretch, or ends there.
const char *next(const Occurrences &o, const char *place) {
  const uint64_t m = o.x->length;
  if (o.lead == m) {
    const uint64_t from = static_cast<uint64_t>(place - o.first.data);
    const uint64_t left = o.first.length - from;
    if (m == 1) {
      const char *hit = static_cast<const char *>(memchr(place, *o.x->data, left));
      RT_EXAMINED(hit == nullptr ? left : static_cast<uint64_t>(hit - place) + 1);
      return hit;
    }
    RT_EXAMINED(m < left ? m : left);
    // Occurrences side by side are found without starting a search for each.
    if (left >= m && *place == *o.x->data && memcmp(place, o.x->data, m) == 0)
      return place;
    const uint64_t at = rt::search(&o.first, o.x, from, false);
    return at == 0 ? nullptr : o.first.data + (at - 1);
  }
  const uint64_t left = static_cast<uint64_t>(o.end - place);
  const char *nul = static_cast<const char *>(memchr(place, 0, left));
  RT_EXAMINED(nul == nullptr ? left : static_cast<uint64_t>(nul - place) + 1);
  if (nul == nullptr || static_cast<uint64_t>(nul - place) < o.lead)
    return nullptr;
  const char *found = nul - o.lead;
  RT_EXAMINED(m);
  if (static_cast<uint64_t>(o.end - found) < m || memcmp(found, o.x->data, m) != 0)
    return nullptr;
  return found;
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
  RT_CHECK(view, "source", source);
  RT_CHECK(view, "search", search);
  RT_CHECK(view, "replacement", replacement);
  const uint64_t m = search->length;
  if (m == 0 || search->data[0] == 0)
    return RT_MADE(rt_str_dup(source));
  const char *search_nul = static_cast<const char *>(memchr(search->data, 0, m));
  const uint64_t lead =
      search_nul == nullptr ? m : static_cast<uint64_t>(search_nul - search->data);
  const char *end = source->data + source->length;
  const char *nul = static_cast<const char *>(memchr(source->data, 0, source->length));
  RT_EXAMINED(source->length);
  const uint64_t first =
      nul == nullptr ? source->length : static_cast<uint64_t>(nul - source->data);
  const Occurrences occurrences{{source->data, first}, end, search, lead};
  // Occurrences of one byte do not overlap: they are counted all at once.
  uint64_t count = m == 1 ? rt::search(&occurrences.first, search, 0, true) : 0;
  if (m != 1)
    for (const char *found = next(occurrences, source->data); found != nullptr;
         found = next(occurrences, found + m))
      ++count;
  if (count == 0)
    return RT_MADE(rt_str_dup(source));
  uint64_t length = 0;
  if (!result_length(source->length, count, m, replacement->length, &length))
    return RT_MADE(rt_str_dup(source));
  RtString *record = rt::sized_record(length);
  if (record == nullptr)
    return RT_MADE(rt_str_dup(source));
  char *out = record->data;
  const char *place = source->data;
  for (const char *found = next(occurrences, place); found != nullptr;
       found = next(occurrences, place)) {
    const uint64_t before = static_cast<uint64_t>(found - place);
    rt_copy_bytes(out, place, before);
    rt_copy_bytes(out + before, replacement->data, replacement->length);
    out += before + replacement->length;
    place = found + m;
  }
  const uint64_t rest = static_cast<uint64_t>(end - place);
  rt_copy_bytes(out, place, rest);
  out[rest] = 0;
  return RT_MADE(record);
}
