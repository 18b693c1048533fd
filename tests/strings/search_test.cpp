// Search and conversion routines, on both tiers.
#include <gtest/gtest.h>

#include "text_support.h"

namespace {

struct PairCase {
  std::string text, other;
  int64_t expected;
};

TEST(Instr, FirstPositionByLength) {
  const PairCase cases[] = {
      {"abcabc", "bc", 2},
      {"abcabc", "x", 0},
      {"abc", "abcd", 0},
      {"abc", "", 1},
      {"", "", 1},
      {"", "a", 0},
      {"abc", "B", 0},
      {"abc", "abc", 1},
      {"abc", "c", 3},
      {"abcab", "ab", 1},
      {"xxabcab", "cab", 5},
      {std::string("ab\0cd", 5), "cd", 4},
      {std::string("ab\0cd", 5), std::string("b\0c", 3), 2},
      {std::string("ab\0cd", 5), std::string(1, '\0'), 3},
      {"\xE9t\xE9", "\xE9", 1},
      {"aaaaaaaaab", "aab", 8},
      {"abababababc", "ababc", 7},
      {"the cat sat on the mat", "mat", 20},
      // not found after a first byte that does occur, or none at all
      {"abc", "xy", 0},
      {"aab", "ac", 0},
      {"abab", "bb", 0},
      {"abcab", "abd", 0},
      {"xab", "ab", 2},
  };
  for (const PairCase &c : cases) {
    Text text(c.text), search(c.other);
    EXPECT_EQ(rt_instr(text.v(), search.v()), c.expected) << c.text << " / " << c.other;
  }
}

// Long inputs that push the search onto its linear-time path, checked against a plain scan.
TEST(Instr, AdversarialInputsAgreeWithAPlainScan) {
  const struct {
    std::string text, search;
  } cases[] = {
      {std::string(20000, 'a'), std::string(300, 'a') + "b"},
      {std::string(20000, 'a') + "b", std::string(300, 'a') + "b"},
      {std::string(20000, 'a'), std::string(299, 'a') + "ba"},
      {std::string(20000, 'a') + std::string(299, 'a') + "ba", std::string(299, 'a') + "ba"},
      {std::string(5000, 'a') + "ab" + std::string(5000, 'a'), "a" + std::string(600, 'a') + "b"},
      {[] {
         std::string s;
         for (int i = 0; i < 4000; ++i)
           s += "abaab";
         return s + "abaabb";
       }(),
       "abaababaababaababaababaababaababaababaababaababaabb"},
  };
  for (const auto &c : cases) {
    Text text(c.text), search(c.search);
    const size_t at = c.text.find(c.search);
    const int64_t expected = at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
    EXPECT_EQ(rt_instr(text.v(), search.v()), expected) << c.search.size();
  }
}

// Needles with one period throughout and needles without, each against texts full of near
// misses (so that a search gives up on its quick scan), found at the end, in the middle or not
// at all; checked against a plain scan.
TEST(Instr, PeriodicAndAperiodicNeedlesAmongNearMisses) {
  auto times = [](const std::string &s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
      out += s;
    return out;
  };
  const std::string a300(300, 'a'), a299b = std::string(299, 'a') + "b", ab150 = times("ab", 150);
  const struct {
    std::string text, search;
  } cases[] = {
      {times(a299b, 60), a300},
      {times(a299b, 60) + a300, a300},
      {times(a299b, 30) + a300 + times(a299b, 30), a300},
      {times("b" + times("ab", 149) + "b", 40), ab150},
      {times("b" + times("ab", 149) + "b", 40) + ab150, ab150},
      {times(times("ab", 149) + "aa", 40) + ab150 + "b", ab150},
      {times(times("ab", 149) + "aa", 40), ab150 + "b"},
      {times("b" + times("ab", 149), 40) + ab150 + "c", ab150 + "c"},
      {times(times("aab", 99) + "aaa", 40), times("aab", 100)},
      {times(times("aab", 99) + "aaa", 40) + times("aab", 100), times("aab", 100)},
      {times(times("abc", 99) + "abd", 40), times("abc", 100)},
      {times(times("abc", 99) + "abd", 40) + "xabc" + times("abc", 100), times("abc", 100)},
      {times("ba" + std::string(298, 'a'), 60), "b" + std::string(299, 'a') + "b"},
      {times(std::string(299, 'a') + "c", 60) + a299b, a299b},
      {times(std::string(150, 'a') + "b" + std::string(149, 'a'), 60), a300},
      {times(std::string(150, 'a') + "c" + std::string(148, 'a') + "b", 60), a299b},
      {times(std::string(150, 'a') + "c" + std::string(148, 'a') + "b", 60) + a299b, a299b},
      {times("b" + std::string(150, 'a') + "b" + std::string(148, 'a'), 40), "b" + a299b},
      {times("b" + std::string(150, 'a') + "b" + std::string(148, 'a'), 40) + "b" + a300,
       "b" + a300},
  };
  for (const auto &c : cases) {
    Text text(c.text), search(c.search);
    const size_t at = c.text.find(c.search);
    const int64_t expected = at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
    EXPECT_EQ(rt_instr(text.v(), search.v()), expected)
        << c.text.size() << " / " << c.search.size();
  }
}

TEST(StrCount, OverlappingOccurrencesUpToTheFirstNul) {
  const PairCase cases[] = {
      {"aaaa", "aa", 3},
      {"aaaa", "", 0},
      {"", "a", 0},
      {"abcabc", "abc", 2},
      {"abcabc", "x", 0},
      {std::string("ab\0ab", 5), "ab", 1},
      {"abab", std::string("ab\0zz", 5), 2}, // only the search string's length is tested for 0
      {"abc", std::string(1, '\0'), 0},      // nothing to find, not every character
      {"abc", std::string("\0b", 2), 0},
  };
  for (const PairCase &c : cases) {
    Text text(c.text), search(c.other);
    EXPECT_EQ(rt_str_count(text.v(), search.v()), c.expected) << c.text << " / " << c.other;
  }
}

TEST(StrVerify, FirstCharacterOutsideTheSet) {
  const PairCase cases[] = {
      {"123x5", "0123456789", 4},
      {"123", "0123456789", 0},
      {"", "0123456789", 0},
      {"abc", "", 1},
      {"x", "abc", 1},
      {std::string("12\0x", 4), "12", 0},
      {"aab", "a", 3},
  };
  for (const PairCase &c : cases) {
    Text text(c.text), set(c.other);
    EXPECT_EQ(rt_str_verify(text.v(), set.v()), c.expected) << c.text << " / " << c.other;
  }
}

TEST(StrFindAny, FirstCharacterInTheSetAsA40ByteRecord) {
  const struct {
    std::string text, set;
    const char *found;
  } cases[] = {
      {"hello", "lo", "l"},   {"hello", "xyz", nullptr},    {"", "abc", nullptr},
      {"hello", "", nullptr}, {"h\xE9llo", "\xE9", "\xE9"}, {std::string("ab\0c", 4), "c", nullptr},
  };
  for (const auto &c : cases) {
    Text text(c.text), set(c.set);
    Owned r(rt_str_find_any(text.v(), set.v()));
    if (c.found == nullptr) {
      EXPECT_FALSE(r) << c.text;
      continue;
    }
    EXPECT_TRUE(fixed_record_holds(r.get(), 40, 8, c.found)) << c.text;
  }
}

TEST(StrVal, Atol32BitValueSignExtended) {
  const struct {
    std::string text;
    int64_t value;
  } cases[] = {
      {"42", 42},
      {"-42", -42},
      {"  +17xyz", 17},
      {"\t-5", -5},
      {"abc", 0},
      {"", 0},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {std::string("12\0 34", 6), 12},
  };
  for (const auto &c : cases) {
    Text text(c.text);
    EXPECT_EQ(rt_str_val(text.v()), c.value) << c.text;
  }
}

TEST(StrAsc, FirstByteUnsigned) {
  const struct {
    std::string text;
    int64_t code;
  } cases[] = {{"", 0}, {"A", 65}, {"\xE9t\xE9", 233}, {"\xFF", 255}, {std::string("\0a", 2), 0}};
  for (const auto &c : cases) {
    Text text(c.text);
    EXPECT_EQ(rt_str_asc(text.v()), c.code);
  }
}

} // namespace
