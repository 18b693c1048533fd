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
// segment of literal bytes only, with enough text ahead, is looked for with Horspool's skipping
// search: the text byte under the segment's last place tells how far the segment can move on
// (its distance from the end of the segment at its rightmost place in front of the last, or the
// whole length), and a place is walked only where that byte fits the segment's last byte. Since
// only those bytes are read, the text ahead is first made sure of (no terminator in it) in
// stretches walked eight bytes a round. Other middle segments are tried place by place, and when
// their first or last element is a literal byte, a place whose byte there differs is passed over
// without walking the segment. The head costs its length, each middle segment at most its length
// for each text place tried (and the places only move forward) plus a table of 256 bytes set up
// once, the last segment its length. In all, at most pattern length x text length steps, plus one
// walk to the text's end.
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

// The other byte that a folded literal key admits: its lower-case letter, or itself.
inline Byte other_case(Byte key) {
  return (key >= 'A' && key <= 'Z') ? static_cast<Byte>(key + ('a' - 'A')) : key;
}

// Where the text from k on stops being known to hold no terminator, looking at no more than
// count bytes: k + count, or the terminator's place when that comes first. Eight bytes a round;
// && stops at the terminator, so nothing behind it is read.
inline const Byte *walk(const Byte *k, uint64_t count) {
  while (count >= 8 && k[0] != 0 && k[1] != 0 && k[2] != 0 && k[3] != 0 && k[4] != 0 && k[5] != 0 &&
         k[6] != 0 && k[7] != 0) {
    k += 8;
    count -= 8;
  }
  while (count != 0 && *k != 0) {
    ++k;
    --count;
  }
  return k;
}

// The leftmost place from t on where the segment of `length` literal bytes at p fits, or null
// when there is none. No byte from t up to known is the terminator; known moves on with the
// search, in stretches ahead of the place looked at, so that every byte a skip passes over has
// been looked at for the terminator all the same.
[[gnu::noinline]] const Byte *skip_search(const Byte *p, uint64_t length, const Byte *t,
                                          const Byte *&known) {
  // How far the segment moves on for each text byte under its last place, at most 255; the
  // table is set up eight entries a store.
  uint64_t words[32];
  const uint64_t whole = length < 255 ? length : 255;
  for (uint64_t &w : words)
    w = whole * 0x0101010101010101u;
  Byte *const shift = reinterpret_cast<Byte *>(words);
  for (uint64_t i = 0; i + 1 < length; ++i) {
    const uint64_t distance = length - 1 - i;
    const Byte key = fold(p[i]);
    shift[key] = shift[other_case(key)] = static_cast<Byte>(distance < 255 ? distance : 255);
  }
  const Byte last = fold(p[length - 1]), last_other = other_case(last);
  for (;;) {
    const uint64_t ahead = static_cast<uint64_t>(known - t);
    if (ahead < length) {
      known = walk(known, length + 512 - ahead);
      if (static_cast<uint64_t>(known - t) < length)
        return nullptr; // too little text here, and less still further on
    }
    const Byte c = t[length - 1];
    if (c == last || c == last_other) {
      const Byte *q = p;
      if (fit(q, t) != nullptr)
        return t;
    }
    t += shift[c];
  }
}

} // namespace

extern "C" int32_t rt_like_match(const char *pattern, const char *text) {
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
    // The segment up to the next run or the pattern's end, its last element, its length in
    // characters and whether all its elements are literal bytes.
    const Byte *segment_end = p;
    const Byte *final = p;
    uint64_t length = 0;
    bool literal = true;
    while (*segment_end != '*' && *segment_end != 0) {
      final = segment_end;
      literal &= literal_key(segment_end) != 0;
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

    // A middle segment goes to the leftmost place from t on where it fits. One of literal bytes
    // with at least 64 characters of text ahead of it is looked for with skips.
    if (literal && length >= 3) {
      const uint64_t wanted = length + 64, ahead = static_cast<uint64_t>(known - t);
      if (ahead < wanted)
        known = walk(known, wanted - ahead);
      if (static_cast<uint64_t>(known - t) >= wanted) {
        t = skip_search(p, length, t, known);
        if (t == nullptr)
          return 0;
        t += length;
        p = segment_end;
        continue;
      }
    }
    // Otherwise place by place: places where its first or last literal byte is missing are
    // passed over without walking the segment.
    const Byte first = literal_key(p), first_other = other_case(first);
    const Byte last = literal_key(final), last_other = other_case(last);
    for (;; ++t) {
      if (first != 0)
        while (*t != first && *t != first_other) {
          if (*t == 0)
            return 0;
          ++t;
        }
      if (known < t)
        known = t;
      while (static_cast<uint64_t>(known - t) < length) {
        if (*known == 0)
          return 0; // too little text here, and less still further on
        ++known;
      }
      const Byte at_last = t[length - 1];
      if (last != 0 && at_last != last && at_last != last_other)
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
  if (pattern == nullptr)
    return 0;
  if (text == nullptr)
    return 0;
  return rt_like_match(pattern, text);
}
