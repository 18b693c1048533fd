// Search and conversion routines, on both tiers.
#include <gtest/gtest.h>

#include <vector>

#include "text_support.h"

namespace {

// times copies of piece, one after another.
std::string repeated(const std::string &piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i)
    out += piece;
  return out;
}

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
      {std::string(5000, 'a') + "ab" + std::string(5000, 'a'), std::string(601, 'a') + "b"},
      // frequent letters of prose only, and then bytes that are not, in the same shapes
      {std::string(20000, 'a'), std::string(300, 'a') + "e"},
      {std::string(20000, 'a') + std::string(299, 'a') + "ea", std::string(299, 'a') + "ea"},
      {std::string(20000, 'b'), std::string(300, 'b') + "c"},
      {std::string(20000, 'b') + std::string(299, 'b') + "cb", std::string(299, 'b') + "cb"},
      // after the run of a, a search string without a period throughout, and places where
      // its right part agrees once more after a shift by the period but its first bytes do not
      {std::string(400, 'a') + "eettateaetaeaeeteeteateaeattateaeateaeteaaettaeaatettaattatett"
                               "attaaaaetate",
       "aaatta"},
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
  // Joins the parts, the whole repeated n times.
  auto rep = [](int n, std::initializer_list<std::string> parts) {
    std::string out;
    for (int i = 0; i < n; ++i)
      for (const std::string &p : parts)
        out += p;
    return out;
  };
  auto a = [](size_t n) { return std::string(n, 'a'); };
  const std::string a300 = a(300), a299b = rep(1, {a(299), "b"}), ab150 = rep(150, {"ab"});
  const std::string ba299 = rep(1, {"b", a(299)});
  const struct {
    std::string text, search;
  } cases[] = {
      {rep(60, {a299b}), a300},
      {rep(1, {rep(60, {a299b}), a300}), a300},
      {rep(1, {rep(30, {a299b}), a300, rep(30, {a299b})}), a300},
      {rep(40, {"b", rep(149, {"ab"}), "b"}), ab150},
      {rep(1, {rep(40, {"b", rep(149, {"ab"}), "b"}), ab150}), ab150},
      {rep(1, {rep(40, {rep(149, {"ab"}), "aa"}), ab150, "b"}), ab150},
      {rep(40, {rep(149, {"ab"}), "aa"}), rep(1, {ab150, "b"})},
      {rep(1, {rep(40, {"b", rep(149, {"ab"})}), ab150, "c"}), rep(1, {ab150, "c"})},
      {rep(40, {rep(99, {"aab"}), "aaa"}), rep(100, {"aab"})},
      {rep(1, {rep(40, {rep(99, {"aab"}), "aaa"}), rep(100, {"aab"})}), rep(100, {"aab"})},
      {rep(40, {rep(99, {"abc"}), "abd"}), rep(100, {"abc"})},
      {rep(1, {rep(40, {rep(99, {"abc"}), "abd"}), "xabc", rep(100, {"abc"})}), rep(100, {"abc"})},
      {rep(60, {"ba", a(298)}), rep(1, {ba299, "b"})},
      {rep(1, {rep(60, {a(299), "c"}), a299b}), a299b},
      {rep(60, {a(150), "b", a(149)}), a300},
      {rep(60, {a(150), "c", a(148), "b"}), a299b},
      {rep(1, {rep(60, {a(150), "c", a(148), "b"}), a299b}), a299b},
      {rep(40, {"b", a(150), "b", a(148)}), ba299},
      {rep(1, {rep(40, {"b", a(150), "b", a(148)}), ba299}), ba299},
  };
  for (const auto &c : cases) {
    Text text(c.text), search(c.search);
    const size_t at = c.text.find(c.search);
    const int64_t expected = at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
    EXPECT_EQ(rt_instr(text.v(), search.v()), expected)
        << c.text.size() << " / " << c.search.size();
  }
}

int64_t plain_position(const std::string &text, const std::string &search) {
  const size_t at = text.find(search);
  return at == std::string::npos ? 0 : static_cast<int64_t>(at) + 1;
}

// The scan at the places where it changes step: texts with fewer than 17 start offsets;
// occurrences in the first block of 16 offsets, across a block boundary and in the last
// block, which overlaps the one before; search strings whose first and last bytes are found
// often while the middle differs; and, in texts of some KiB, places far in (around 1 and
// 4 KiB) and search strings of up to 300 bytes whose ends are also found inside them.
TEST(Instr, EachWayAroundItsLimits) {
  std::string base;
  for (int i = 0; base.size() < 9000; ++i)
    base += "the memory of a text is not the runtime, " + std::to_string(i % 97) + " ";
  const std::string searches[] = {"xy", "x#y", "the#", "tXYZt", "memory#of", "abcdefghijklmno",
                                  "abcdefghijklmnop", "t#e memory of a text is not the runtime, t",
                                  std::string(200, 'q') + "z",
                                  "ab" + std::string(60, '-') + "ab" + std::string(60, '-') + "ab",
                                  // a long one, its pieces found all over the text
                                  base.substr(40, 150) + "#" + base.substr(200, 149)};
  const size_t sizes[] = {20, 31, 32, 33, 47, 100, 8000, 8300, 9000};
  for (const std::string &search : searches)
    for (const size_t size : sizes) {
      if (size < search.size())
        continue;
      const std::string text = base.substr(0, size);
      // Not there at all, then placed at offsets around each step.
      const size_t last = size - search.size();
      std::vector<size_t> places = {0,    1,    14,   15,   16,   17,   31,   32,      33,
                                    1023, 1024, 1040, 4095, 4096, 4112, 4127, last / 2};
      for (size_t back = 0; back < 18; ++back)
        if (back <= last)
          places.push_back(last - back);
      Text absent(text), needle(search);
      EXPECT_EQ(rt_instr(absent.v(), needle.v()), plain_position(text, search))
          << search << " / " << size;
      for (const size_t place : places) {
        if (place > last)
          continue;
        std::string with = text;
        with.replace(place, search.size(), search);
        Text t(with);
        EXPECT_EQ(rt_instr(t.v(), needle.v()), plain_position(with, search))
            << search << " / " << size << " at " << place;
      }
    }
}

// Texts where two bytes of the search string agree every few offsets while a third does not:
// the first and last bytes, or letters other than the most frequent of prose, near its front
// and near its end. An occurrence placed at every offset up to well past the first thousand,
// and a near miss with only the third byte off, are each found or not as a plain search says.
TEST(Instr, FirstAndLastBytesEverywhere) {
  const struct {
    std::string filler, search;
  } families[] = {
      {"aXcdefgz", "abcdefgz"},
      {"aX", "ab"},
      {"aXzz", "abzz"},
      {"aXa", "aba"},
      {"aXXXXXXXXXXXXXXXXXXz", "abYYYYYYYYYYYYYYYYYz"},
      {"tXe", "the"},
      {"eXe ", "ewe "},
      {"tkXe", "tkbe"},
      {"okkkkkkkkkkkkkkkkkkkkkkkkkkkkkkXe", "okkkkkkkkkkkkkkkkkkkkkkkkkkkkkkbe"},
  };
  for (const auto &f : families)
    for (size_t place = 0; place < 2600; place += place < 300 ? 1 : 37) {
      std::string text;
      while (text.size() < 3000)
        text += f.filler;
      const std::string near_miss = text;
      text.replace(place, f.search.size(), f.search);
      Text t(text), miss(near_miss), s(f.search);
      ASSERT_EQ(rt_instr(t.v(), s.v()), plain_position(text, f.search))
          << f.search << " at " << place;
      ASSERT_EQ(rt_instr(miss.v(), s.v()), 0) << f.search;
    }
}

// Search strings of frequent letters of prose with other bytes placed near their front, near
// their end, in the middle or nowhere, among copies of themselves with one byte changed, each
// copy another byte: every byte of the search string is compared before a place counts, found
// at the end of such a text and not found without it.
TEST(Instr, EveryByteCountsWhicheverBytesTheScanTests) {
  const std::string needles[] = {
      "to",
      "xo",
      "ox",
      "the",
      "tha",
      "that is",
      "tha# is",
      "that i#",
      "#hat is",
      "there on the",
      std::string(40, 'e'),
      "this and that are not here, and then #there it is on the text",
      "at the start " + std::string(50, 'e') + " at the end",
      std::string(20, 'e') + "w" + std::string(30, 'e') + "q" + std::string(20, 'e'),
      "in the " + std::string(1, '\xE9') + std::string(30, 'n') + "\x01 on",
  };
  for (const std::string &needle : needles) {
    std::string near_misses = "in an era, ";
    for (size_t i = 0; i < needle.size(); ++i) {
      std::string miss = needle;
      miss[i] = miss[i] == 'Z' ? 'Y' : 'Z';
      near_misses += miss + " ";
    }
    const std::string text = near_misses + needle + " and on";
    Text t(text), misses(near_misses), s(needle);
    EXPECT_EQ(rt_instr(t.v(), s.v()), static_cast<int64_t>(near_misses.size()) + 1) << needle;
    EXPECT_EQ(rt_instr(misses.v(), s.v()), 0) << needle;
  }
}

// Texts made so that candidate places abound and each fails late (of frequent letters of prose
// only, so that no byte the scan could choose is rarer than another), for short and long search
// strings: the scan must hand over to its linear-time fallback and still find the first
// occurrence, or none.
TEST(Instr, FallbackFromEachWay) {
  const struct {
    std::string text, search;
  } cases[] = {
      // up to 15 bytes, first and last bytes everywhere
      {std::string(5000, 'a'), "aaaaaaaea"},
      {std::string(5000, 'a') + "aaaaaaaea", "aaaaaaaea"},
      {repeated("aaaaae", 900), "aaaaaeaaaaaat"},
      {repeated("aaaaae", 900) + "aaaaaeaaaaaat" + "aaaaae", "aaaaaeaaaaaat"},
      // longer ones in a long text, the last two bytes of the search string everywhere
      {repeated(std::string(20, 'a') + "e", 1000), std::string(40, 'a') + "e"},
      {repeated(std::string(20, 'a') + "e", 1000) + std::string(40, 'a') + "e",
       std::string(40, 'a') + "e"},
      {repeated("ae", 9000), repeated("ae", 30) + "e"},
      {repeated("ae", 9000) + repeated("ae", 30) + "e", repeated("ae", 30) + "e"},
  };
  for (const auto &c : cases) {
    Text text(c.text), search(c.search);
    EXPECT_EQ(rt_instr(text.v(), search.v()), plain_position(c.text, c.search))
        << c.search.size() << " in " << c.text.size();
  }
}

// An occurrence at each place shortly after the work has grown enough for the fallback, so
// that one of them lies right where the two-way search takes over.
TEST(Instr, FallbackResumesAtTheFirstOffsetNotRuledOut) {
  const struct {
    std::string filler, search;
    size_t size;
  } families[] = {
      {"a", "aaaaaaaea", 600},
      {std::string(20, 'a') + "e", std::string(40, 'a') + "e", 9000},
      {std::string("t") + std::string(19, 'a') + "h" + std::string(19, 'a') + "e" +
           std::string(60, 'a'),
       std::string("t") + std::string(39, 'a') + "e", 9000},
  };
  for (const auto &f : families)
    for (size_t place = 0; place + f.search.size() <= f.size && place < 2800;
         place += place == 399    ? 601
                  : place == 1599 ? 801
                                  : 1) {
      std::string text;
      while (text.size() < f.size)
        text += f.filler;
      text.replace(place, f.search.size(), f.search);
      Text t(text), s(f.search);
      ASSERT_EQ(rt_instr(t.v(), s.v()), plain_position(text, f.search))
          << f.search.size() << " at " << place;
    }
}

// Pseudo-random texts over two or three letters, where partial matches are everywhere, with
// search strings cut from them or made up; lengths cross every limit of the ways above.
TEST(Instr, AgreesWithAPlainSearchOnRandomInputs) {
  Pseudo next{0x2545F4914F6CDD1Du};
  int found = 0;
  for (int round = 0; round < 400; ++round) {
    const uint64_t letters = 2 + next(2);
    const size_t size = round % 4 == 0 ? 8200 + next(2000) : next(300);
    std::string text;
    for (size_t i = 0; i < size; ++i)
      text += static_cast<char>('a' + next(letters));
    const size_t length = 1 + next(round % 3 == 0 ? 40 : 18);
    std::string search;
    if (next(2) == 0 && length <= size) {
      search = text.substr(next(size - length + 1), length);
      search[next(length)] ^= static_cast<char>(next(2)); // sometimes one letter off
    } else {
      for (size_t i = 0; i < length; ++i)
        search += static_cast<char>('a' + next(letters));
    }
    Text t(text), s(search);
    const int64_t expected = plain_position(text, search);
    found += expected != 0;
    ASSERT_EQ(rt_instr(t.v(), s.v()), expected) << search << " in " << text.size();
  }
  EXPECT_GT(found, 100);
}

// Texts made of near misses (the search string with its middle byte changed) make the search
// give up its quick scan somewhere and go on with the two-way search from there. An occurrence
// placed at every offset of such a text is found right where it lies, wherever the hand-over
// falls: directly before it, on it, or behind it; with search strings of one period throughout
// and without.
TEST(Instr, OccurrenceAtEveryOffsetAmongNearMisses) {
  const std::string needles[] = {
      std::string(300, 'a'),
      std::string(299, 'a') + "b",
      std::string(1, 'b') + std::string(299, 'a'),
      repeated("ab", 150),
      repeated("aab", 100),
      repeated("abc", 100),
      repeated("abaab", 60) + "b",
      std::string(1, 'x') + repeated("ab", 150),
  };
  for (const std::string &needle : needles) {
    std::string block = needle;
    block[block.size() / 2] = 'z';
    const std::string near_misses = repeated(block, 2000 / block.size() + 1);
    for (size_t at = 0; at < 1500; ++at) {
      const std::string text = near_misses.substr(0, at) + needle + near_misses.substr(at);
      Text t(text), s(needle);
      const int64_t expected = static_cast<int64_t>(text.find(needle)) + 1;
      ASSERT_EQ(rt_instr(t.v(), s.v()), expected) << needle.substr(0, 8) << " at " << at;
    }
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

// Overlapping occurrences counted one by one, byte after byte: the text and search string
// read up to their first NUL, every start offset compared.
int64_t plain_count(const std::string &text, const std::string &search) {
  const std::string t = text.substr(0, text.find('\0')), x = search.substr(0, search.find('\0'));
  int64_t count = 0;
  for (size_t at = 0; at + x.size() <= t.size(); ++at)
    count += t.compare(at, x.size(), x) == 0;
  return count;
}

// Occurrences side by side or overlapping (the search going on by the search string's period
// behind each), at the text's first and last offsets and on both sides of 16-byte boundaries,
// with search strings long and short, of one period throughout and without.
TEST(StrCount, OverlappingOccurrencesEverywhere) {
  const struct {
    std::string text, search;
  } cases[] = {
      {std::string(5000, 'a'), "a"},
      {std::string(5000, 'a'), "aa"},
      {std::string(5000, 'a'), std::string(8, 'a')},
      {std::string(5000, 'a'), std::string(1250, 'a')},
      {std::string(5000, 'a'), std::string(17, 'a')},
      {std::string(33, 'a'), std::string(17, 'a')},
      {std::string(31, 'a'), std::string(16, 'a')},
      {repeated("ab", 2000), "aba"},
      {repeated("ab", 2000), repeated("ab", 100) + "a"},
      {repeated("aab", 2000), repeated("aab", 30) + "aa"},
      {repeated("abaababa", 600), "abaababaabaab"},
      {repeated("abcab", 900), "bcabcabca"},
      {repeated("ab", 2000) + std::string(1, '\0') + repeated("ab", 50), "abab"},
      {repeated("ab", 2000), std::string("aba\0zz", 6)},
  };
  for (const auto &c : cases) {
    Text text(c.text), search(c.search);
    const int64_t expected = plain_count(c.text, c.search);
    EXPECT_EQ(rt_str_count(text.v(), search.v()), expected) << c.search.substr(0, 20);
  }
  const std::string needles[] = {"ab", "abc", repeated("abc", 6), std::string(20, 'a') + "b"};
  for (const std::string &needle : needles)
    for (size_t size : {size_t{40}, size_t{200}})
      for (size_t at = 0; at + needle.size() <= size; ++at)
        for (size_t other : {at, size - needle.size()}) {
          std::string text(size, 'x');
          text.replace(other, needle.size(), needle);
          text.replace(at, needle.size(), needle);
          // every byte of the occurrence counts: one changed, and it is one fewer
          for (size_t i = 0; i <= needle.size(); ++i) {
            std::string changed = text;
            if (i < needle.size())
              changed[at + i] = 'y';
            Text t(changed), s(needle);
            ASSERT_EQ(rt_str_count(t.v(), s.v()), plain_count(changed, needle))
                << needle << " at " << at << " and " << other << ", byte " << i;
          }
        }
}

// Pseudo-random texts over few letters (with the odd NUL) and search strings cut from them or
// made up, against the plain count.
TEST(StrCount, AgreesWithAPlainCountOnRandomInputs) {
  Pseudo next{0x9E3779B97F4A7C15u};
  int64_t found = 0;
  for (int round = 0; round < 600; ++round) {
    const uint64_t letters = 1 + next(3);
    const size_t size = round % 5 == 0 ? 3000 + next(3000) : next(200);
    std::string text;
    for (size_t i = 0; i < size; ++i)
      text += next(500) == 0 ? '\0' : static_cast<char>('a' + next(letters));
    const size_t length = 1 + next(round % 3 == 0 ? 300 : 12);
    std::string search;
    if (next(2) == 0 && length <= size)
      search = text.substr(next(size - length + 1), length);
    for (size_t i = search.size(); i < length; ++i)
      search += static_cast<char>('a' + next(letters));
    if (search[0] == 0)
      search[0] = 'a';
    Text t(text), s(search);
    const int64_t expected = plain_count(text, search);
    found += expected;
    ASSERT_EQ(rt_str_count(t.v(), s.v()), expected) << search.size() << " in " << text.size();
  }
  EXPECT_GT(found, 10000);
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
      // Members on both sides of every 64-value boundary of the byte range, and repeated ones.
      {"?@\x7F\x80\xBF\xC0\xFF", "\xFF\xC0\xBF\x80\x7F@?", 0},
      {"?@\x7F\x80\xBF\xC0\xFF!", "\xFF\xC0\xBF\x80\x7F@?", 8},
      {"\x80\x80\xC0", "\x80\x80\x80", 3},
      {"@A", "?A", 1},
      {"\xBF\xC0", "\xBF\xBF\x7F", 2},
      {"\xFF\xFE", "\xFF", 2},
      {"abc", std::string("ab\0c", 4), 3}, // the set ends at its NUL too
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
      {"hello", "lo", "l"},
      {"hello", "xyz", nullptr},
      {"", "abc", nullptr},
      {"hello", "", nullptr},
      {"h\xE9llo", "\xE9", "\xE9"},
      {std::string("ab\0c", 4), "c", nullptr},
      // Members on both sides of every 64-value boundary of the byte range.
      {"?\x3F", "@", nullptr},
      {"ab@", "@\x7F", "@"},
      {"\x7F\x80", "\x80", "\x80"},
      {"\xBF\xC0", "\xC0", "\xC0"},
      {"\xFE\xFF", "\xFF\x01", "\xFF"},
      {"\xC0\xBF", "\x80\xBF", "\xBF"},
      {"xyz", std::string("a\0z", 3), nullptr}, // the set ends at its NUL too
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
