// The wildcard matching rules written out step by step as a plain recursive search: one level
// per run of asterisks, the shortest stretch tried first. It is the oracle that rt_like is
// compared with in the tests, the fuzzer and the benchmark. Its time can grow exponentially
// with the number of asterisk runs, so callers that feed it arbitrary input give it a budget of
// steps; when that runs out it answers -1 (unknown).
#pragma once

#include <stdint.h>

namespace like_reference {

using Byte = unsigned char;

// Steps left; null means unbounded.
struct Budget {
  uint64_t *left;
  bool spend() {
    if (left == nullptr)
      return true;
    if (*left == 0)
      return false;
    --*left;
    return true;
  }
};

inline Byte fold_letter(Byte b) {
  return (b >= 'a' && b <= 'z') ? static_cast<Byte>(b - 'a' + 'A') : b;
}

// Evaluates the class whose '[' p points at against c and moves p behind it.
inline bool class_fits(const Byte *&p, Byte c) {
  ++p; // the '['
  bool negated = false;
  if (*p == '!') {
    negated = true;
    ++p;
  }
  bool admitted = false;
  for (;;) {
    if (*p == ']' || *p == 0)
      break; // stop: no member admitted
    if (p[1] == '-') {
      if (p[2] == ']' || p[2] == 0) {
        // A single byte; the '-' becomes the next member.
        if (c == p[0]) {
          admitted = true;
          break;
        }
        p += 1;
        continue;
      }
      // A range; bounds and character compare as signed 8-bit numbers.
      const signed char low = static_cast<signed char>(p[0]);
      const signed char high = static_cast<signed char>(p[2]);
      const signed char ch = static_cast<signed char>(c);
      if (low <= ch && ch <= high) {
        admitted = true;
        break;
      }
      p += 3;
      continue;
    }
    if (c == p[0]) {
      admitted = true;
      break;
    }
    p += 1;
  }
  if (admitted)
    while (*p != ']' && *p != 0)
      ++p;
  if (*p == ']')
    ++p;
  return negated ? !admitted : admitted;
}

// 1 or 0, or -1 when the budget ran out.
inline int match(const Byte *p, const Byte *t, Budget budget) {
  if (!budget.spend())
    return -1;
  for (;;) {
    // Step 1: end of the pattern.
    if (*p == 0)
      return *t == 0 ? 1 : 0;
    // Step 2: a run of asterisks.
    if (*p == '*') {
      while (*p == '*')
        ++p;
      if (*p == 0)
        return 1;
      if (*t == 0)
        return 0;
      for (; *t != 0; ++t) {
        const int r = match(p, t, budget);
        if (r != 0)
          return r;
      }
      return 0;
    }
    // Step 3: one text character.
    if (*t == 0)
      return 0;
    if (!budget.spend())
      return -1;
    const Byte c = *t;
    // Step 4.
    if (*p == '?') {
      ++p;
    } else if (*p == '#') {
      if (c < '0' || c > '9')
        return 0;
      ++p;
    } else if (*p == '[') {
      if (!class_fits(p, c))
        return 0;
    } else {
      if (fold_letter(*p) != fold_letter(c))
        return 0;
      ++p;
    }
    // Step 5.
    ++t;
  }
}

// rt_like's contract: 0 for a null pointer, else the match result.
inline int like(const char *pattern, const char *text) {
  if (pattern == nullptr || text == nullptr)
    return 0;
  return match(reinterpret_cast<const Byte *>(pattern), reinterpret_cast<const Byte *>(text),
               Budget{nullptr});
}

// As like(), giving up with -1 after about `steps` steps.
inline int like_bounded(const char *pattern, const char *text, uint64_t steps) {
  if (pattern == nullptr || text == nullptr)
    return 0;
  return match(reinterpret_cast<const Byte *>(pattern), reinterpret_cast<const Byte *>(text),
               Budget{&steps});
}

} // namespace like_reference
