// rt_like against the plain recursive search of like_reference.h, on arbitrary patterns and
// texts. Input layout: a mode byte, a split byte, then the bytes of pattern and text.
//   mode 0: both taken as they are (bytes 0 to 255; a 0 ends the string early);
//   mode 1: pattern bytes pick wildcard pieces, text bytes pick from a small alphabet, so that
//           classes, asterisk runs and near misses are common;
//   mode 2: pattern bytes below 16 become wildcard pieces, every other byte stays as it is.
// The reference gets a budget of steps, so that its exponential cases cannot stall the run;
// pairs it cannot decide within the budget are only run through rt_like (for the sanitizers).
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "../../tests/strings/like_reference.h"
#include "rtlib.h"

namespace {

const char *const pieces[16] = {
    "*",     "**",   "?", "#", "[",  "]",           "[!", "-",
    "[a-c]", "[!a]", "a", "A", "*a", "[\x80-\x7F]", "!",  "[]",
};
const char text_alphabet[16] = {'a', 'b', 'A', 'B', '-', ']',    '[',    '!',
                                '*', '?', '#', '0', '9', '\xE9', '\x80', '\xFF'};

constexpr size_t max_side = 400;             // bytes of pattern or text after decoding
constexpr uint64_t reference_steps = 200000; // work the reference may spend on one pair

std::vector<char> terminated(const std::string &s) {
  std::vector<char> out(s.begin(), s.end());
  out.push_back('\0');
  return out;
}

// How many pairs were compared and how many the reference could not decide in its budget,
// printed when the run ends.
uint64_t compared = 0, undecided = 0;

void report() {
  fprintf(stderr, "like_fuzz: %llu pairs compared with the reference, %llu beyond its budget\n",
          static_cast<unsigned long long>(compared), static_cast<unsigned long long>(undecided));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  atexit(report);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2)
    return 0;
  const unsigned mode = data[0] % 3u;
  const size_t rest = size - 2;
  const size_t split = rest == 0 ? 0 : data[1] % (rest + 1);
  const uint8_t *p_bytes = data + 2, *t_bytes = data + 2 + split;
  const size_t p_count = split, t_count = rest - split;

  std::string pattern, text;
  for (size_t i = 0; i < p_count && pattern.size() < max_side; ++i) {
    const uint8_t b = p_bytes[i];
    if (mode == 1 || (mode == 2 && b < 16))
      pattern += pieces[b % 16];
    else
      pattern += static_cast<char>(b);
  }
  for (size_t i = 0; i < t_count && text.size() < max_side; ++i) {
    const uint8_t b = t_bytes[i];
    text += mode == 1 ? text_alphabet[b % 16] : static_cast<char>(b);
  }

  // Exactly sized blocks: a read past the terminator that leaves them is caught by the
  // sanitizer, one that stays inside would change the result.
  const std::vector<char> p = terminated(pattern), t = terminated(text);
  const int32_t got = rt_like(p.data(), t.data());
  if (got != 0 && got != 1)
    abort();
  if (rt_like_match(p.data(), t.data()) != got)
    abort();
  const int want = like_reference::like_bounded(p.data(), t.data(), reference_steps);
  if (want < 0) {
    ++undecided;
    return 0;
  }
  ++compared;
  if (want != got)
    abort();
  return 0;
}
