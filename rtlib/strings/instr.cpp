#include <emmintrin.h>

#include "platform.h"

// rt_instr has two ways of searching, both linear in the text's length and using no memory
// beyond a few words.
//   - The scan: 16 start offsets at a time (32 while nothing is found), SSE2 compares the
//     text's bytes there with the search string's first byte and the bytes m - 1 further on
//     with its last byte; only where both agree, and the second byte too, is the rest compared,
//     again 16 bytes at a time.
//     In prose the first and last bytes of a search string are often common letters that agree
//     once in some 60 offsets, and each such place breaks the run of the scan; once that
//     happens more than once in 256 offsets, the scan compares the second byte too.
//     A text with fewer than 17 start offsets is tested offset by offset.
//   - The scan keeps account of the bytes its comparisons cost; as soon as that grows beyond a
//     small multiple of the distance covered (a text and search string made to defeat it, such
//     as a long run of a searched for a...aba), the two-way search takes over from the offsets
//     not yet ruled out. Only such texts reach it, so its set-up, the two maximal suffixes, is
//     compiled for size (cold).

namespace {

using Byte = unsigned char;

// Start (minus one) and period of the lexicographically maximal suffix of x[0..m), under the
// byte order or, with inverted set, under the reverse order.
[[gnu::cold]] int64_t maximal_suffix(const Byte *x, int64_t m, bool inverted, int64_t *period) {
  int64_t start = -1, j = 0, k = 1, p = 1;
  while (j + k < m) {
    const Byte a = x[j + k];
    const Byte b = x[start + k];
    if (inverted ? a > b : a < b) {
      j += k;
      k = 1;
      p = j - start;
    } else if (a == b) {
      if (k != p) {
        ++k;
      } else {
        j += p;
        k = 1;
      }
    } else {
      start = j;
      j = start + 1;
      k = p = 1;
    }
  }
  *period = p;
  return start;
}

// Two-way string matching (Crochemore and Perrin) of x[0..m) in y[0..n), starting at offset j.
// The search string splits at a critical position ell: the right part is compared left to
// right, then the left part right to left. Returns the offset of the first occurrence, or -1.
int64_t two_way(const Byte *x, int64_t m, const Byte *y, int64_t n, int64_t j) {
  int64_t period_a = 0, period_b = 0;
  const int64_t ell_a = maximal_suffix(x, m, false, &period_a);
  const int64_t ell_b = maximal_suffix(x, m, true, &period_b);
  const int64_t ell = ell_a > ell_b ? ell_a : ell_b;
  int64_t period = ell_a > ell_b ? period_a : period_b;
  if (memcmp(x, x + period, static_cast<size_t>(ell + 1)) == 0) {
    // The search string has this period throughout: after a full match of the right part,
    // the shift keeps in memory how much of the left part is known to match.
    int64_t memory = -1;
    while (j <= n - m) {
      int64_t i = (ell > memory ? ell : memory) + 1;
      while (i < m && x[i] == y[i + j])
        ++i;
      if (i >= m) {
        i = ell;
        while (i > memory && x[i] == y[i + j])
          --i;
        if (i <= memory)
          return j;
        j += period;
        memory = m - period - 1;
      } else {
        j += i - ell;
        memory = -1;
      }
    }
  } else {
    period = (ell + 1 > m - ell - 1 ? ell + 1 : m - ell - 1) + 1;
    while (j <= n - m) {
      int64_t i = ell + 1;
      while (i < m && x[i] == y[i + j])
        ++i;
      if (i >= m) {
        i = ell;
        while (i >= 0 && x[i] == y[i + j])
          --i;
        if (i < 0)
          return j;
        j += period;
      } else {
        j += i - ell;
      }
    }
  }
  return -1;
}

// Number of leading bytes that a and b have in common, at most limit.
inline uint64_t common_prefix(const Byte *a, const Byte *b, uint64_t limit) {
  uint64_t i = 0;
  for (; i + 16 <= limit; i += 16) {
    const __m128i same = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(a + i)),
                                        _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i)));
    const unsigned differ = ~static_cast<unsigned>(_mm_movemask_epi8(same)) & 0xFFFFu;
    if (differ != 0)
      return i + static_cast<unsigned>(__builtin_ctz(differ));
  }
  while (i < limit && a[i] == b[i])
    ++i;
  return i;
}

// The places among the 16 start offsets from p where the text agrees with the search string's
// first and last bytes (pair) or with its first, second and last (triple), a bit each.
struct Filter {
  __m128i first, second, final;
  uint64_t final_at; // m - 1

  static __m128i same(const Byte *p, __m128i byte) {
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)), byte);
  }
  __m128i pair(const Byte *p) const {
    return _mm_and_si128(same(p, first), same(p + final_at, final));
  }
  __m128i triple(const Byte *p) const {
    return _mm_and_si128(pair(p), same(p + 1, second));
  }
  template <bool second_too> __m128i hits(const Byte *p) const {
    if constexpr (second_too)
      return triple(p);
    else
      return pair(p);
  }
};

// From offset at on, two blocks of 16 offsets a round while neither holds a place where the
// bytes agree: the offset of the first round that holds one, or where fewer than 32 offsets up
// to last are left.
template <bool second_too>
uint64_t run_to_agreement(const Filter &filter, const Byte *y, uint64_t at, uint64_t last) {
  while (at + 31 <= last) {
    const __m128i either =
        _mm_or_si128(filter.hits<second_too>(y + at), filter.hits<second_too>(y + at + 16));
    if (_mm_movemask_epi8(either) != 0)
      break;
    at += 32;
  }
  return at;
}

} // namespace

extern "C" int64_t rt_instr(const StrView *text, const StrView *search) {
  const uint64_t m = search->length;
  const uint64_t n = text->length;
  if (m == 0)
    return 1;
  if (n < m)
    return 0;
  const Byte *y = reinterpret_cast<const Byte *>(text->data);
  const Byte *x = reinterpret_cast<const Byte *>(search->data);
  if (m == 1) {
    const void *hit = memchr(y, x[0], n);
    return hit == nullptr ? 0 : static_cast<const Byte *>(hit) - y + 1;
  }
  const uint64_t last = n - m; // last offset an occurrence can start at
  const uint64_t middle = m - 2;
  if (last < 16) {
    for (uint64_t at = 0; at <= last; ++at)
      if (y[at] == x[0] && y[at + m - 1] == x[m - 1] && memcmp(y + at + 1, x + 1, middle) == 0)
        return static_cast<int64_t>(at + 1);
    return 0;
  }
  uint64_t at = 0; // offsets below it are ruled out
  const Filter filter{_mm_set1_epi8(static_cast<char>(x[0])),
                      _mm_set1_epi8(static_cast<char>(x[1])),
                      _mm_set1_epi8(static_cast<char>(x[m - 1])), m - 1};
  uint64_t work = 0;
  uint64_t rounds = 0; // times the scan stopped for a block
  for (;;) {
    // The first and last bytes, and once they stop the scan more than once in 256 offsets, the
    // second byte too.
    at = rounds <= at / 256 + 8 ? run_to_agreement<false>(filter, y, at, last)
                                : run_to_agreement<true>(filter, y, at, last);
    ++rounds;
    // The last block may overlap the one before; offsets already ruled out are masked off.
    const uint64_t start = at < last - 15 ? at : last - 15;
    unsigned both = static_cast<unsigned>(_mm_movemask_epi8(filter.triple(y + start)));
    both &= 0xFFFFu << (at - start);
    while (both != 0) {
      const uint64_t offset = start + static_cast<unsigned>(__builtin_ctz(both));
      const uint64_t same = common_prefix(y + offset + 1, x + 1, middle);
      if (same == middle)
        return static_cast<int64_t>(offset + 1);
      work += same + 1;
      both &= both - 1;
    }
    at = start + 16;
    if (at > last)
      return 0;
    if (work > at / 2 + 4 * m + 256)
      return two_way(x, static_cast<int64_t>(m), y, static_cast<int64_t>(n),
                     static_cast<int64_t>(at)) +
             1;
  }
}
