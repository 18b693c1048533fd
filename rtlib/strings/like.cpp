#include "rtlib.h"

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
// That gives one forward pass with no recursion, no allocation and no state between calls:
// the head costs its length, each middle segment at most its length for each text place tried
// (and the places only move forward), the last segment its length plus one walk to the text's
// end. In all, at most pattern length x text length steps.
//
// This file holds only the matcher, so that an image can carry it on its own; it calls nothing
// outside itself.

namespace {

using Byte = unsigned char;

// Bytes of a class range compare as signed 8-bit numbers; flipping the top bit gives the same
// order on unsigned values.
inline unsigned signed_order(Byte b) {
  return static_cast<unsigned>(b) ^ 0x80u;
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

// Whether the class opened by the '[' at open admits c: the pattern place behind the class
// when it does, else null.
inline const Byte *class_step(const Byte *open, Byte c) {
  const Byte *q = open + 1;
  const bool negated = *q == '!';
  if (negated)
    ++q;
  bool admitted = false;
  while (*q != ']' && *q != 0) {
    if (q[1] == '-' && q[2] != ']' && q[2] != 0) {
      const unsigned key = signed_order(c);
      if (signed_order(q[0]) <= key && key <= signed_order(q[2])) {
        admitted = true;
        break;
      }
      q += 3;
    } else {
      if (*q == c) {
        admitted = true;
        break;
      }
      ++q;
    }
  }
  if (admitted == negated)
    return nullptr;
  while (*q != ']' && *q != 0)
    ++q;
  return *q == ']' ? q + 1 : q;
}

// Whether the element at p (neither '*' nor the terminator) takes c (never the terminator):
// the pattern place behind the element when it does, else null.
inline const Byte *step(const Byte *p, Byte c) {
  const Byte b = *p;
  if (b != '#' && b != '[') {
    // Equal bytes fit for a literal and for '?' alike.
    if (b == c || b == '?')
      return p + 1;
    return fold(b) == fold(c) ? p + 1 : nullptr;
  }
  if (b == '#')
    return (c >= '0' && c <= '9') ? p + 1 : nullptr;
  return class_step(p, c);
}

} // namespace

extern "C" int32_t rt_like_match(const char *pattern, const char *text) {
  const Byte *p = reinterpret_cast<const Byte *>(pattern);
  const Byte *t = reinterpret_cast<const Byte *>(text);

  // The head, up to the first asterisk, fits the start of the text one to one.
  while (*p != '*') {
    if (*p == 0)
      return *t == 0 ? 1 : 0;
    if (*t == 0)
      return 0;
    p = step(p, *t);
    if (p == nullptr)
      return 0;
    ++t;
  }

  for (;;) {
    // p is at a run of asterisks.
    while (*p == '*')
      ++p;
    if (*p == 0)
      return 1;
    // The segment up to the next run or the pattern's end, and its length in characters.
    const Byte *segment_end = p;
    uint64_t length = 0;
    while (*segment_end != '*' && *segment_end != 0) {
      segment_end = element_end(segment_end);
      ++length;
    }

    if (*segment_end == 0) {
      // The last segment takes the text's last `length` characters, if there are that many.
      const Byte *text_end = t;
      while (*text_end != 0)
        ++text_end;
      if (static_cast<uint64_t>(text_end - t) < length)
        return 0;
      const Byte *u = text_end - length;
      for (const Byte *q = p; q != segment_end; ++u) {
        q = step(q, *u);
        if (q == nullptr)
          return 0;
      }
      return 1;
    }

    // A middle segment goes to the leftmost place from t on where it fits. When it starts
    // with a literal byte, places without that byte are passed over at once.
    Byte first = 0, first_other = 0;
    if (*p != '?' && *p != '#' && *p != '[') {
      first = fold(*p);
      first_other = (first >= 'A' && first <= 'Z') ? static_cast<Byte>(first + ('a' - 'A')) : first;
    }
    for (;; ++t) {
      if (first != 0)
        while (*t != first && *t != first_other && *t != 0)
          ++t;
      if (*t == 0)
        return 0;
      const Byte *q = p;
      const Byte *u = t;
      while (q != segment_end) {
        if (*u == 0)
          return 0; // too little text here, and less still further on
        q = step(q, *u);
        if (q == nullptr)
          break;
        ++u;
      }
      if (q == segment_end) {
        t = u;
        break;
      }
    }
    p = segment_end;
  }
}

extern "C" int32_t rt_like(const char *pattern, const char *text) {
  if (pattern == nullptr)
    return 0;
  if (text == nullptr)
    return 0;
  return rt_like_match(pattern, text);
}
