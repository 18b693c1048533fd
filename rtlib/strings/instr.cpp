#include "platform.h"

// rt_instr has two paths. The fast one lets memchr find each place where the first byte of
// the search string occurs, tests the last byte there and then compares the rest byte by
// byte. It keeps account of the work this costs; as soon as that grows beyond a small multiple
// of the distance covered (a text and search string made to defeat it, such as a long run of
// a searched for a...ab or a...aba), the two-way search takes over from the current offset.
// Both paths are linear in the text's length, and neither needs memory beyond a few words.

namespace {

using Byte = unsigned char;

// Start (minus one) and period of the lexicographically maximal suffix of x[0..m), under the
// byte order or, with inverted set, under the reverse order.
int64_t maximal_suffix(const Byte *x, int64_t m, bool inverted, int64_t *period) {
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
  const uint64_t last = n - m; // last offset an occurrence can start at
  if (m == 1) {
    const void *hit = memchr(y, x[0], n);
    return hit == nullptr ? 0 : static_cast<const Byte *>(hit) - y + 1;
  }
  const Byte first = x[0];
  const Byte final = x[m - 1];
  uint64_t at = 0;
  uint64_t work = 0;
  while (at <= last) {
    const void *hit = memchr(y + at, first, last - at + 1);
    if (hit == nullptr)
      return 0;
    at = static_cast<uint64_t>(static_cast<const Byte *>(hit) - y);
    work += 1;
    if (y[at + m - 1] == final) {
      uint64_t i = 1;
      while (i < m - 1 && y[at + i] == x[i])
        ++i;
      if (i >= m - 1)
        return static_cast<int64_t>(at + 1);
      work += i;
    }
    if (work > at / 4 + 2 * m + 256)
      return two_way(x, static_cast<int64_t>(m), y, static_cast<int64_t>(n),
                     static_cast<int64_t>(at + 1)) +
             1;
    ++at;
  }
  return 0;
}
