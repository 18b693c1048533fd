#include "byte_set.h"

#include "examined.h"

namespace rt {

const char *scan_set(const char *text, const char *set, bool members) {
  // The terminator stops the scan either way: it counts as a member when members are looked
  // for, and as none otherwise.
  uint64_t bits[4] = {members ? uint64_t{1} : 0, 0, 0, 0};
  for (const unsigned char *p = reinterpret_cast<const unsigned char *>(set); *p != 0; ++p) {
    RT_EXAMINED(1);
    bits[*p >> 6] |= uint64_t{1} << (*p & 63);
  }
  const unsigned char *place = reinterpret_cast<const unsigned char *>(text);
  while ((((bits[*place >> 6] >> (*place & 63)) & 1) != 0) != members) {
    RT_EXAMINED(1);
    ++place;
  }
  RT_EXAMINED(1);
  return reinterpret_cast<const char *>(place);
}

} // namespace rt
