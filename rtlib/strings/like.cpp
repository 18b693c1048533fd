#include <emmintrin.h>

#include "examined.h"
#include "platform.h"

// Wildcard matching of a whole NUL-terminated text against a pattern of '*' (a run acts as one),
// '?', '#', bracket classes and literal bytes (a-z and A-Z compare without regard to case).
//
// Every element other than '*' takes exactly one text character, and which pattern bytes it
// spans never depends on that character: a class always ends at its first ']' from its first
// member on, or at the pattern's end. So the pattern is a head, then segments of such elements
// between runs of asterisks, and a match can always be found with each segment at the leftmost
// text place where it fits behind the one before: a later place would only leave less text to
// the rest, and the run of asterisks in front of the next segment absorbs whatever lies between.
// The last segment, with nothing behind it, has to take the last characters of the text.
//
// That gives one forward pass with no recursion, no allocation and no state between calls.
// The text is read ahead only as far as a segment needs, and up to its end at most once. A middle
// segment is tried place by place, and when its first or last element is a literal byte, a place
// whose byte there differs is passed over without walking the segment. When both are literal
// bytes, places are passed over sixteen at a time: the bytes at the segment's first and last
// place for sixteen places are compared at once, once the text ahead is known to hold no
// terminator (made sure of in stretches, eight bytes a round). The head costs its length, each
// middle segment at most its length for each text place tried (and the places only move
// forward), the last segment its length. In all, at most pattern length x text length steps,
// plus one walk to the text's end.
//
// This file holds only the matcher, so that an image can carry it on its own; it calls nothing
// outside itself.

namespace {

using Byte = unsigned char;

// Bytes of a class range compare as signed 8-bit numbers.
inline signed char signed_byte(Byte b) {
  return static_cast<signed char>(b);
}

inline Byte fold(Byte b) {
  return (b >= 'a' && b <= 'z') ? static_cast<Byte>(b - ('a' - 'A')) : b;
}

// Pattern place behind the element at p (neither '*' nor the terminator). A class ends behind
// its first ']' from the first member place on (a member is never ']'), else at the end.
inline const Byte *element_end(const Byte *p) {
  if (*p != '[')
    return p + 1;
  const Byte *q = p + 1;
  if (*q == '!')
    ++q;
  while (*q != ']' && *q != 0)
    ++q;
  return *q == ']' ? q + 1 : q;
}

// Whether the elements from p up to the next '*' or the pattern's end take the text from t on
// one to one: the text place behind them when they do, else null (also when the text ends
// first). When they do, p is left behind them.
[[gnu::noinline]] const Byte *fit(const Byte *&pattern, const Byte *t) {
  const Byte *p = pattern;
  for (; *p != '*' && *p != 0; ++t) {
    RT_EXAMINED(1);
    const Byte b = *p, c = *t;
    if (c == 0)
      return nullptr;
    ++p;
    if (b == c && b != '[' && b != '#')
      continue; // equal bytes fit for a literal and for '?' alike
    if (b == '[') {
      // Every member is looked at; the walk ends at the class's ']' (a member never spans
      // one) or at the pattern's end.
      const bool negated = *p == '!';
      if (negated)
        ++p;
      bool admitted = false;
      while (*p != ']' && *p != 0) {
        if (p[1] == '-' && p[2] != ']' && p[2] != 0) {
          admitted |= signed_byte(p[0]) <= signed_byte(c) && signed_byte(c) <= signed_byte(p[2]);
          p += 3;
        } else {
          admitted |= *p == c;
          ++p;
        }
      }
      if (admitted == negated)
        return nullptr;
      if (*p == ']')
        ++p;
    } else if (b == '#') {
      if (c < '0' || c > '9')
        return nullptr;
    } else if (b != '?' && fold(b) != fold(c)) {
      return nullptr;
    }
  }
  pattern = p;
  return t;
}

// The folded byte that a literal element at e stands for, or 0 when e is '?', '#' or a class.
inline Byte literal_key(const Byte *e) {
  return (*e == '?' || *e == '#' || *e == '[') ? 0 : fold(*e);
}

// Where the text from k on stops being known to hold no terminator, looking at no more than
// count bytes: k + count, or the terminator's place when that comes first. Eight bytes a round;
// && stops at the terminator, so nothing behind it is read.
[[gnu::noinline]] const Byte *walk(const Byte *k, uint64_t count) {
  while (count >= 8 && k[0] != 0 && k[1] != 0 && k[2] != 0 && k[3] != 0 && k[4] != 0 && k[5] != 0 &&
         k[6] != 0 && k[7] != 0) {
    RT_EXAMINED(8);
    k += 8;
    count -= 8;
  }
  while (count != 0 && *k != 0) {
    RT_EXAMINED(1);
    ++k;
    --count;
  }
  return k;
}

// Passes over the places from t on where a segment of `length` characters whose first and last
// elements are literal bytes (keys first and last) cannot start: the first byte is not there in
// either case, or the last is not length - 1 further on. Sixteen places are looked at a round,
// while the bytes that takes are known to lie before the terminator (known moves on in stretches
// ahead of the places looked at; it is never behind t). Returns the first place that passes both,
// or the place from which fewer than sixteen are left to the text's end.
[[gnu::noinline]] const Byte *pass_over(uint64_t length, Byte first, Byte last, const Byte *t,
                                        const Byte *&known) {
  // With bit 5 set on both sides, a text byte compares equal to a letter key in either case;
  // for a key that is no letter, one other byte passes too, which the caller's checks turn away.
  const __m128i case_bit = _mm_set1_epi8(0x20);
  const __m128i f = _mm_set1_epi8(static_cast<char>(first | 0x20));
  const __m128i l = _mm_set1_epi8(static_cast<char>(last | 0x20));
  const uint64_t span = length + 15; // the bytes sixteen places take
  for (;;) {
    const uint64_t ahead = static_cast<uint64_t>(known - t);
    if (ahead < span) {
      known = walk(known, span + 1024 - ahead);
      if (static_cast<uint64_t>(known - t) < span)
        return t;
    }
    for (const Byte *stop = known - span; t <= stop; t += 16) {
      RT_EXAMINED(32);
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t));
      const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i *>(t + length - 1));
      const __m128i at_first = _mm_cmpeq_epi8(_mm_or_si128(a, case_bit), f);
      const __m128i at_last = _mm_cmpeq_epi8(_mm_or_si128(z, case_bit), l);
      const unsigned mask =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(at_first, at_last)));
      if (mask != 0)
        return t + __builtin_ctz(mask);
    }
  }
}

} // namespace

extern "C" int32_t rt_like_match(const char *pattern, const char *text) {
  RT_CHECK(text, "pattern", pattern);
  RT_CHECK(text, "text", text);
  const Byte *p = reinterpret_cast<const Byte *>(pattern);
  const Byte *t = reinterpret_cast<const Byte *>(text);

  // The head, up to the first asterisk, fits the start of the text one to one.
  t = fit(p, t);
  if (t == nullptr)
    return 0;
  if (*p == 0)
    return *t == 0 ? 1 : 0;

  // No byte from t up to known is the terminator, and known is never behind t; known only
  // moves on, so the text is read up to its end at most once.
  const Byte *known = t;
  for (;;) {
    // p is at a run of asterisks.
    while (*p == '*')
      ++p;
    if (*p == 0)
      return 1;
    // The segment up to the next run or the pattern's end, its last element and its length in
    // characters.
    const Byte *segment_end = p;
    const Byte *final = p;
    uint64_t length = 0;
    while (*segment_end != '*' && *segment_end != 0) {
      RT_EXAMINED(1);
      final = segment_end;
      segment_end = element_end(segment_end);
      ++length;
    }

    // The last segment takes the text's last `length` characters.
    if (*segment_end == 0) {
      known = walk(known, UINT64_MAX);
      if (static_cast<uint64_t>(known - t) < length)
        return 0;
      return fit(p, known - length) != nullptr ? 1 : 0;
    }

    // A middle segment goes to the leftmost place from t on where it fits. Places where its
    // first or last literal byte is missing are passed over without walking the segment, sixteen
    // at a time when both are literal bytes and the segment has two characters or more. With bit
    // 5 set, a text byte equals a letter key in either case; for a key that is no letter, one
    // other byte passes as well, which fit turns away.
    const Byte first = literal_key(p), last = literal_key(final);
    const Byte first_low = static_cast<Byte>(first | 0x20),
               last_low = static_cast<Byte>(last | 0x20);
    const bool wide = first != 0 && last != 0 && length >= 2;
    for (;; ++t) {
      if (wide)
        t = pass_over(length, first, last, t, known);
      if (first != 0)
        while ((*t | 0x20) != first_low) {
          RT_EXAMINED(1);
          if (*t == 0)
            return 0;
          ++t;
        }
      if (known < t)
        known = t;
      while (static_cast<uint64_t>(known - t) < length) {
        RT_EXAMINED(1);
        if (*known == 0)
          return 0; // too little text here, and less still further on
        ++known;
      }
      RT_EXAMINED(1);
      if (last != 0 && (t[length - 1] | 0x20) != last_low)
        continue;
      const Byte *q = p;
      if (fit(q, t) != nullptr)
        break;
    }
    t += length;
    p = segment_end;
  }
}

extern "C" RT_LEAF int32_t rt_like(const char *pattern, const char *text) {
  RT_CHECK(text_or_null, "pattern", pattern);
  RT_CHECK(text_or_null, "text", text);
  if (pattern == nullptr)
    return 0;
  if (text == nullptr)
    return 0;
  return rt_like_match(pattern, text);
}
