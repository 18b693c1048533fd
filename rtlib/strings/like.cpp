#include "rtlib.h"

// Wildcard matching of a whole NUL-terminated text against a pattern of '*' (a run acts as one),
// '?', '#', bracket classes and literal bytes (a-z and A-Z compare without regard to case).
//
// Every element other than '*' takes exactly one text character, and which pattern bytes it
// spans never depends on that character (a class always ends at its first ']' after the first
// member, or at the pattern's end). So when the pattern stops fitting, only the latest run of
// asterisks needs to take one more character: whatever an earlier run could still absorb, the
// latest one can absorb as well. The search keeps two places for that run and nothing else:
// no recursion, no allocation, and at most (text length + 1) restarts of at most the pattern
// length each.
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

// The class opened by the '[' at open, tried on c (never the terminator). Returns whether it
// fits; *behind is set to the pattern place after its ']', or at the pattern's end.
inline bool class_fits(const Byte *open, Byte c, const Byte **behind) {
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
  // A member byte is never ']', so the first ']' from here is the class's end.
  while (*q != ']' && *q != 0)
    ++q;
  if (*q == ']')
    ++q;
  *behind = q;
  return admitted != negated;
}

// Whether the element at p (neither '*' nor the terminator) takes c; *behind is set to the
// pattern place after the element when it does.
inline bool element_fits(const Byte *p, Byte c, const Byte **behind) {
  switch (*p) {
  case '?':
    *behind = p + 1;
    return true;
  case '#':
    *behind = p + 1;
    return c >= '0' && c <= '9';
  case '[':
    return class_fits(p, c, behind);
  default:
    *behind = p + 1;
    return fold(*p) == fold(c);
  }
}

} // namespace

extern "C" int32_t rt_like_match(const char *pattern, const char *text) {
  const Byte *p = reinterpret_cast<const Byte *>(pattern);
  const Byte *t = reinterpret_cast<const Byte *>(text);
  // The latest run of asterisks: the pattern place behind it and the text place where the
  // stretch it currently absorbs ends. Null until the first run.
  const Byte *resume_p = nullptr;
  const Byte *resume_t = nullptr;
  while (*t != 0) {
    if (*p == '*') {
      do
        ++p;
      while (*p == '*');
      if (*p == 0)
        return 1;
      resume_p = p;
      resume_t = t;
      continue;
    }
    const Byte *behind = nullptr;
    if (*p != 0 && element_fits(p, *t, &behind)) {
      p = behind;
      ++t;
      continue;
    }
    if (resume_p == nullptr)
      return 0;
    // The latest run takes one more character and the rest starts over behind it.
    ++resume_t;
    p = resume_p;
    t = resume_t;
  }
  // The text is used up: only asterisks may be left. (Moving a run on cannot help here: the
  // elements after it would have fewer characters still.)
  while (*p == '*')
    ++p;
  return *p == 0 ? 1 : 0;
}

extern "C" int32_t rt_like(const char *pattern, const char *text) {
  if (pattern == nullptr)
    return 0;
  if (text == nullptr)
    return 0;
  return rt_like_match(pattern, text);
}
