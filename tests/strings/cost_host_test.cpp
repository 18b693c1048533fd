// The cost of the searches, counted without a clock: this executable links the runtime's
// counting build, in which the search code adds up the bytes it examines (set-up included) in
// rt_examined_bytes. On inputs made to defeat a search, the count must stay within a small
// multiple of what the routine reads, so that a search that turns quadratic fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "text_support.h"

extern "C" {
unsigned long long rt_examined_bytes = 0;
}

namespace {

struct Shape {
  std::string name, text, search;
};

std::string times(const std::string &piece, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i)
    out += piece;
  return out;
}

// Texts of about n bytes with search strings that a naive search (or one that starts over
// behind every occurrence) pays for n times over.
std::vector<Shape> adversarial_shapes(size_t n) {
  const std::string a(n, 'a');
  const std::string nul(1, '\0');
  return {
      {"an occurrence at every byte", a, "a"},
      {"an occurrence at every byte, two bytes", a, "aa"},
      {"a^8 in a^n", a, std::string(8, 'a')},
      {"a^(n/4) in a^n", a, std::string(n / 4, 'a')},
      {"near miss a^7 b in a^n", a, std::string(7, 'a') + "b"},
      {"near miss a^(n/4-1) b in a^n", a, std::string(n / 4 - 1, 'a') + "b"},
      {"near miss b a^(n/4-1) in a^n", a, "b" + std::string(n / 4 - 1, 'a')},
      {"near miss (ab)^k c in (ab)^n", times("ab", n / 2), times("ab", n / 16) + "c"},
      {"near miss a^k b a^k in a^n", a, std::string(n / 8, 'a') + "b" + std::string(n / 8, 'a')},
      {"search string holding a NUL in a^n", a, "a" + nul + "a"},
      {"long search string holding a NUL in a^n", a, std::string(n / 4, 'a') + nul + "a"},
      {"NULs in the text, search across them", times("aaaaaaa" + nul, n / 8), "aaa" + nul + "aaa"},
      {"NULs in the text, search before them", times("aaaaaaa" + nul, n / 8), "aaaaaaa" + nul},
      {"NULs in the text, a^7 near miss", times("aaaaaaa" + nul, n / 8), std::string(7, 'a') + "b"},
      {"rare NULs in the text", times(std::string(n / 4 - 1, 'a') + nul, 4), "a"},
  };
}

// Each routine's count must stay within this many bytes per byte of text and search string.
constexpr unsigned long long bound_per_byte = 8;

template <class Call> unsigned long long examined_by(Call call) {
  rt_examined_bytes = 0;
  call();
  return rt_examined_bytes;
}

TEST(Cost, InstrIsLinearOnAdversarialInputs) {
  for (size_t n : {size_t{4096}, size_t{16384}})
    for (const Shape &s : adversarial_shapes(n)) {
      Text text(s.text), search(s.search);
      const unsigned long long bytes =
          examined_by([&] { static_cast<void>(rt_instr(text.v(), search.v())); });
      EXPECT_LE(bytes, bound_per_byte * (s.text.size() + s.search.size())) << s.name << ", n=" << n;
    }
}

// The bytes before the text's first NUL (or all of them): what count and replace cannot do
// without reading, so that a count below it means the hook is not wired up.
size_t before_nul(const std::string &s) {
  return std::min(s.find('\0'), s.size());
}

TEST(Cost, CountIsLinearOnAdversarialInputs) {
  for (size_t n : {size_t{4096}, size_t{16384}})
    for (const Shape &s : adversarial_shapes(n)) {
      Text text(s.text), search(s.search);
      const unsigned long long bytes =
          examined_by([&] { static_cast<void>(rt_str_count(text.v(), search.v())); });
      EXPECT_GE(bytes, before_nul(s.text)) << s.name << ", n=" << n;
      EXPECT_LE(bytes, bound_per_byte * (s.text.size() + s.search.size())) << s.name << ", n=" << n;
    }
}

TEST(Cost, ReplaceIsLinearOnAdversarialInputs) {
  for (size_t n : {size_t{4096}, size_t{16384}})
    for (const Shape &s : adversarial_shapes(n))
      for (const std::string replacement : {"", "R", "bb"}) {
        Text text(s.text), search(s.search), by(replacement);
        const unsigned long long bytes = examined_by([&] {
          Owned r(rt_str_replace(text.v(), search.v(), by.v()));
          EXPECT_TRUE(r) << s.name;
        });
        EXPECT_GE(bytes, before_nul(s.text)) << s.name << ", n=" << n;
        EXPECT_LE(bytes, bound_per_byte * (s.text.size() + s.search.size()))
            << s.name << ", n=" << n;
      }
}

// Sets of n/4 bytes: the set is read once and each text byte looked up once.
TEST(Cost, VerifyAndFindAnyAreLinearInTextAndSet) {
  for (size_t n : {size_t{4096}, size_t{16384}}) {
    const std::string a(n, 'a');
    const Shape shapes[] = {
        {"a^n, set of n/4 bytes ending in a", a, std::string(n / 4 - 1, 'b') + "a"},
        {"a^n, set of n/4 bytes without a", a, std::string(n / 4, 'b')},
        {"a^n b, set of n/4 distinct and repeated bytes", a + "b", times("acdefghij", n / 36)},
    };
    for (const Shape &s : shapes) {
      Text text(s.text), set(s.search);
      const unsigned long long limit = bound_per_byte * (s.text.size() + s.search.size());
      EXPECT_LE(examined_by([&] { static_cast<void>(rt_str_verify(text.v(), set.v())); }), limit)
          << s.name << ", n=" << n;
      EXPECT_LE(examined_by([&] { rt_free(rt_str_find_any(text.v(), set.v())); }), limit)
          << s.name << ", n=" << n;
    }
  }
}

// The matcher on long near-miss runs: for a given pattern its count grows with the text as the
// text does (4x for 4x the text, where a quadratic search gives 16x), and where every place fails
// at the stretch's first or last byte it stays within a small multiple of pattern + text.
std::string a_run(size_t k) {
  return std::string(k, 'a');
}

TEST(Cost, LikeIsLinearInTheTextForAGivenPattern) {
  const struct {
    std::string name, pattern;
    std::string (*text)(size_t n);
    bool within_bound;
  } shapes[] = {
      {"*a^7 b* in a^n", "*" + a_run(7) + "b*", [](size_t n) { return std::string(n, 'a'); }, true},
      {"*a^63 b* in a^n", "*" + a_run(63) + "b*", [](size_t n) { return std::string(n, 'a'); },
       true},
      {"*a^7 b in a^n", "*" + a_run(7) + "b", [](size_t n) { return std::string(n, 'a'); }, true},
      {"*a*a*a*a*b in a^n", "*a*a*a*a*b", [](size_t n) { return std::string(n, 'a'); }, true},
      {"*b a^7* in a^n", "*b" + a_run(7) + "*", [](size_t n) { return std::string(n, 'a'); }, true},
      {"*word*word* in prose", "*zebra*fish*",
       [](size_t n) { return times("the quick brown fox ", n / 20); }, true},
      {"*a^15 b a^15* in a^n", "*" + a_run(15) + "b" + a_run(15) + "*",
       [](size_t n) { return std::string(n, 'a'); }, false},
      {"*a?a^14* in (a^15 b)^k", "*a?" + a_run(14) + "*",
       [](size_t n) { return times(a_run(15) + "b", n / 16); }, false},
  };
  for (const auto &s : shapes) {
    unsigned long long at_n = 0;
    for (size_t n : {size_t{4096}, size_t{16384}}) {
      const std::string text = s.text(n);
      Text exact(text);
      const unsigned long long bytes =
          examined_by([&] { static_cast<void>(rt_like(s.pattern.c_str(), exact.bytes.get())); });
      if (s.within_bound)
        EXPECT_LE(bytes, bound_per_byte * (s.pattern.size() + text.size()))
            << s.name << ", n=" << n;
      if (at_n != 0)
        EXPECT_LE(bytes, 5 * at_n) << s.name << ": grows faster than the text";
      at_n = bytes;
    }
    EXPECT_GT(at_n, 0u) << s.name;
  }
}

} // namespace
