#include <emmintrin.h>

#include "examined.h"
#include "search.h"

// The search core (search.h) has two ways of searching, both linear in the text's length and
// using no memory beyond a few words. It finds the first occurrence from a given offset on
// (rt_instr, and rt_str_replace behind every occurrence it replaces) or counts them all,
// overlapping ones included, in one run (rt_str_count).
//   - The scan: 16 start offsets at a time (32 while nothing is found), SSE2 compares the
//     text's bytes with two bytes of the search string (the pair), each at its own distance
//     from the start offsets; where the pair agrees, a third byte is compared too, and only
//     where all three agree is the whole search string compared, 16 bytes at a time.
//     The pair is chosen to agree seldom: one byte near the front of the search string and one
//     near its end, far apart so that the one agreeing says little about the other, each a
//     byte that is not among the most frequent of prose if there is one. In prose the first
//     and last bytes of a search string are often common letters that agree once in some 60
//     offsets, and each such place costs the scan more than the 60 offsets themselves.
//     Fewer than 17 start offsets from where a search begins are tested offset by offset.
//   - The scan keeps account of the bytes its comparisons cost, full matches included; as soon
//     as that grows beyond a small multiple of the distance covered (a text and search string
//     made to defeat it, such as a long run of a searched for a...aea, frequent letters all,
//     or occurrences that overlap each other), the two-way search takes over from the offsets
//     not yet ruled out. Behind an occurrence it goes on by the search string's period and
//     keeps in memory the part already known to match, so that counting overlapping
//     occurrences costs no more than the text. Only such texts reach it, so its set-up, the
//     two maximal suffixes, is compiled for size (cold).
// A one-byte search string is looked for, and its occurrences counted, with memchr.

namespace {

using Byte = unsigned char;

// Start (minus one) and period of the lexicographically maximal suffix of x[0..m), under the
// byte order or, with inverted set, under the reverse order.
[[gnu::cold]] int64_t maximal_suffix(const Byte *x, int64_t m, bool inverted, int64_t *period) {
  int64_t start = -1, j = 0, k = 1, p = 1;
  while (j + k < m) {
    RT_EXAMINED(2);
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
// right, then the left part right to left. One plus the offset of the first occurrence, or 0;
// or, with all set, count plus the number of occurrences.
uint64_t two_way(const Byte *x, int64_t m, const Byte *y, uint64_t n, int64_t j, bool all,
                 uint64_t count) {
  int64_t period_a = 0, period_b = 0;
  const int64_t ell_a = maximal_suffix(x, m, false, &period_a);
  const int64_t ell_b = maximal_suffix(x, m, true, &period_b);
  const int64_t ell = ell_a > ell_b ? ell_a : ell_b;
  int64_t period = ell_a > ell_b ? period_a : period_b;
  // A search string with this period throughout keeps in memory, after a full match of the
  // right part and a shift by the period, how much of the left part is known to match; any
  // other shifts by more than either part and keeps nothing. Either shift is at most the
  // distance to the next occurrence, so that behind a full match it finds every later one.
  RT_EXAMINED(2 * (ell + 1));
  const bool periodic = memcmp(x, x + period, static_cast<size_t>(ell + 1)) == 0;
  if (!periodic)
    period = (ell + 1 > m - ell - 1 ? ell + 1 : m - ell - 1) + 1;
  int64_t memory = -1;
  while (j <= static_cast<int64_t>(n) - m) {
    const int64_t right = (ell > memory ? ell : memory) + 1;
    int64_t i = right;
    while (i < m && x[i] == y[i + j])
      ++i;
    RT_EXAMINED(i - right + 1);
    if (i >= m) {
      i = ell;
      while (i > memory && x[i] == y[i + j])
        --i;
      RT_EXAMINED(ell - i + 1);
      if (i <= memory) {
        if (!all)
          return static_cast<uint64_t>(j) + 1;
        ++count;
      }
      j += period;
      memory = periodic ? m - period - 1 : -1;
    } else {
      j += i - ell;
      memory = -1;
    }
  }
  return count;
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

// Whether c is among the most frequent bytes of prose: the space and the nine most frequent
// letters of English.
inline bool frequent_in_prose(Byte c) {
  constexpr uint32_t letters = 1u << ('a' - 'a') | 1u << ('e' - 'a') | 1u << ('h' - 'a') |
                               1u << ('i' - 'a') | 1u << ('n' - 'a') | 1u << ('o' - 'a') |
                               1u << ('r' - 'a') | 1u << ('s' - 'a') | 1u << ('t' - 'a');
  const unsigned letter = c - unsigned{'a'};
  return c == ' ' || (letter < 26 && ((letters >> letter) & 1u) != 0);
}

// The first of the positions from one end to the other (either way, both included) that holds
// a byte not frequent in prose, or else the fallback.
[[gnu::noinline]] uint64_t infrequent_at(const Byte *x, uint64_t from, uint64_t to,
                                         uint64_t fallback) {
  const uint64_t step = from <= to ? 1 : ~uint64_t{0}; // one forward, or one back
  for (uint64_t at = from;; at += step) {
    RT_EXAMINED(1);
    if (!frequent_in_prose(x[at]))
      return at;
    if (at == to)
      return fallback;
  }
}

// The places among the 16 start offsets from p where the text agrees with two bytes of the
// search string (pair), or with these and a third (triple), a bit each.
struct Filter {
  __m128i front, back, third;
  uint64_t front_at, back_at, third_at;

  static __m128i same(const Byte *p, __m128i byte) {
    return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)), byte);
  }
  __m128i pair(const Byte *p) const {
    return _mm_and_si128(same(p + front_at, front), same(p + back_at, back));
  }
  __m128i triple(const Byte *p) const {
    return _mm_and_si128(pair(p), same(p + third_at, third));
  }
};

// From offset at on, two blocks of 16 offsets a round while neither holds a place where the
// pair agrees: the offset of the first round that holds one, or where fewer than 32 offsets up
// to last are left.
uint64_t run_to_agreement(const Filter &filter, const Byte *y, uint64_t at, uint64_t last) {
  while (at + 31 <= last) {
    RT_EXAMINED(64);
    if (_mm_movemask_epi8(_mm_or_si128(filter.pair(y + at), filter.pair(y + at + 16))) != 0)
      break;
    at += 32;
  }
  return at;
}

} // namespace

uint64_t rt::search(const StrView *text, const StrView *search, uint64_t from, bool all) {
  const uint64_t n = text->length, m = search->length;
  const Byte *y = reinterpret_cast<const Byte *>(text->data);
  const Byte *x = reinterpret_cast<const Byte *>(search->data);
  uint64_t count = 0;
  if (m == 1) {
    // The first occurrence of one byte, or all of them: these do not overlap, so each search
    // goes on behind the last, and all of them together read the text once.
    RT_EXAMINED(n - from);
    for (const void *hit; (hit = memchr(y + from, x[0], n - from)) != nullptr; ++count) {
      from = static_cast<uint64_t>(static_cast<const Byte *>(hit) - y) + 1;
      if (!all)
        return from;
    }
    return count;
  }
  if (n < m || from > n - m)
    return 0;
  const uint64_t last = n - m; // last offset an occurrence can start at
  const uint64_t head = m - 1; // the bytes before the last
  if (last - from < 16) {
    for (uint64_t at = from; at <= last; ++at) {
      RT_EXAMINED(1);
      if (y[at + head] == x[head]) {
        RT_EXAMINED(head);
        if (memcmp(y + at, x, head) == 0) {
          if (!all)
            return at + 1;
          ++count;
        }
      }
    }
    return count;
  }
  // The pair: among the first 16 bytes before the last, the first that is not frequent in
  // prose (or else the first byte), and among the last 16 bytes behind it, the last such (or
  // else the last byte). The third is the first or the last byte, one that the pair leaves, or
  // the second when the pair is the first and the last.
  const uint64_t front = infrequent_at(x, 0, head - 1 < 15 ? head - 1 : 15, 0);
  const uint64_t back = infrequent_at(x, head, m > front + 16 ? m - 16 : front + 1, head);
  const uint64_t third = front != 0 ? 0 : back != head ? head : 1;
  const Filter filter{_mm_set1_epi8(static_cast<char>(x[front])),
                      _mm_set1_epi8(static_cast<char>(x[back])),
                      _mm_set1_epi8(static_cast<char>(x[third])),
                      front,
                      back,
                      third};
  uint64_t at = from; // offsets below it are ruled out (or counted)
  uint64_t work = 0;
  for (;;) {
    at = run_to_agreement(filter, y, at, last);
    // The last block may overlap the one before; offsets already ruled out are masked off.
    const uint64_t start = at < last - 15 ? at : last - 15;
    RT_EXAMINED(48);
    unsigned both = static_cast<unsigned>(_mm_movemask_epi8(filter.triple(y + start)));
    both &= 0xFFFFu << (at - start);
    while (both != 0) {
      const uint64_t offset = start + static_cast<unsigned>(__builtin_ctz(both));
      const uint64_t same = common_prefix(y + offset, x, m);
      RT_EXAMINED(same < m ? same + 1 : m);
      work += same + 1;
      if (same == m) {
        if (!all)
          return offset + 1;
        ++count;
      }
      both &= both - 1;
    }
    at = start + 16;
    if (at > last)
      return count;
    if (work > (at - from) / 2 + 4 * m + 256)
      return two_way(x, static_cast<int64_t>(m), y, n, static_cast<int64_t>(at), all, count);
  }
}

extern "C" int64_t rt_instr(const StrView *text, const StrView *search) {
  RT_CHECK(view, "text", text);
  RT_CHECK(view, "search", search);
  if (search->length == 0)
    return 1;
  return static_cast<int64_t>(rt::search(text, search, 0, false));
}
