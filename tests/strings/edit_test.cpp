// Edit routines: new sized records (or a copy, or null), arguments untouched; both tiers.
#include <gtest/gtest.h>

#include <algorithm>

#include <climits>

#include "text_support.h"

namespace {

TEST(StrRemove, RemovesACountCutAtTheEnd) {
  const struct {
    std::string source;
    int64_t start, count;
    std::string result;
  } cases[] = {
      {"abcdef", 2, 3, "aef"},
      {"abcdef", 5, 10, "abcd"},
      {"abcdef", 1, 6, ""},
      {"abcdef", 6, 1, "abcde"},
      {"abcdef", 1, INT64_MAX, ""},
      {"abcdef", 3, INT64_MAX, "ab"},
      // selecting nothing gives a copy
      {"abcdef", 0, 2, "abcdef"},
      {"abcdef", -5, 2, "abcdef"},
      {"abcdef", 2, 0, "abcdef"},
      {"abcdef", 2, -1, "abcdef"},
      {"abcdef", 7, 1, "abcdef"},
      {"abcdef", INT64_MAX, 1, "abcdef"},
      {"abcdef", INT64_MIN, INT64_MIN, "abcdef"},
      {std::string("a\0b\0c", 5), 2, 2, std::string("a\0c", 3)},
  };
  for (const auto &c : cases) {
    Text source(c.source);
    Owned r(rt_str_remove(source.v(), c.start, c.count));
    EXPECT_TRUE(sized_record_holds(r.get(), c.result)) << c.start << "," << c.count;
    EXPECT_EQ(std::string(source.view.data, source.view.length), c.source);
  }
}

TEST(StrRemove, EmptySourceGivesNull) {
  Text empty("");
  for (int64_t start : {INT64_MIN, int64_t{0}, int64_t{1}, int64_t{2}, INT64_MAX})
    EXPECT_EQ(rt_str_remove(empty.v(), start, 1), nullptr) << start;
}

TEST(StrInsert, ClampsThePosition) {
  const struct {
    std::string source, inserted;
    int64_t position;
    std::string result;
  } cases[] = {
      {"abc", "XY", 2, "aXYbc"},
      {"abc", "XY", 1, "XYabc"},
      {"abc", "XY", 0, "XYabc"},
      {"abc", "XY", -5, "XYabc"},
      {"abc", "XY", INT64_MIN, "XYabc"},
      {"abc", "XY", 4, "abcXY"},
      {"abc", "XY", 99, "abcXY"},
      {"abc", "XY", INT64_MAX, "abcXY"},
      {"", "", 1, ""},
      {"", "XY", 5, "XY"},
      {"abc", "", 2, "abc"},
      {std::string("a\0c", 3), std::string("\0", 1), 3, std::string("a\0\0c", 4)},
  };
  for (const auto &c : cases) {
    Text source(c.source), inserted(c.inserted);
    Owned r(rt_str_insert(source.v(), inserted.v(), c.position));
    EXPECT_TRUE(sized_record_holds(r.get(), c.result)) << c.position;
  }
}

TEST(StrReplace, EveryOccurrenceScanningOnBehindEach) {
  const struct {
    std::string source, search, replacement;
    std::string result;
  } cases[] = {
      {"a.b.c", ".", "--", "a--b--c"},
      {"abc", "b", "", "ac"},
      {"aaa", "aa", "b", "ba"},
      {"aaaa", "aa", "b", "bb"},
      {"abc", "abc", "", ""},
      {"abc", "abc", "xyz", "xyz"},
      {"abcabc", "c", "CC", "abCCabCC"},
      // occurrences side by side, long enough a run for the search to go on by the period
      {std::string(5000, 'a'), std::string(8, 'a'), "b", std::string(625, 'b')},
      {std::string(5001, 'a'), "aa", "", "a"},
      // nothing to replace: a copy
      {"abc", "", "x", "abc"},
      {"abc", "x", "y", "abc"},
      {"abc", "abcd", "y", "abc"},
      // the search stops at the first NUL of the source; the rest is copied unchanged
      {std::string("ab\0ab", 5), "b", "X", std::string("aX\0ab", 5)},
      // a search string starting with NUL has nothing to find
      {"abc", std::string(1, '\0'), "x", "abc"},
      {std::string("a\0b", 3), std::string("\0b", 2), "x", std::string("a\0b", 3)},
      // all of the search string's bytes must match inside the source
      {"abc", std::string("c\0zzzz", 6), "x", "abc"},
      {"abc", std::string("bc\0", 3), "x", "abc"},
      {std::string("bc\0", 3), std::string("bc\0", 3), "x", "x"},
      {std::string("ab\0c", 4), std::string("b\0c", 3), "X", "aX"},
      {std::string("ab\0x", 4), std::string("b\0c", 3), "X", std::string("ab\0x", 4)},
      // behind an occurrence that spans a NUL the scan goes on, in the next stretch
      {std::string("xa\0qa\0q", 7), std::string("a\0q", 3), "R", "xRR"},
      {std::string("ab\0cb\0c", 7), std::string("b\0c", 3), "X", "aXX"},
      {std::string("bab\0cb", 6), std::string("b\0c", 3), "X", "baXb"},
      // and ends at a stretch whose end does not start an occurrence
      {std::string("xb\0db\0c", 7), std::string("b\0c", 3), "X", std::string("xb\0db\0c", 7)},
      {std::string("a\0bc\0", 5), std::string("bc\0", 3), "X", std::string("a\0bc\0", 5)},
      {std::string("b\0c\0b\0c", 7), std::string("b\0c", 3), "X", std::string("X\0b\0c", 5)},
  };
  for (const auto &c : cases) {
    Text source(c.source), search(c.search), replacement(c.replacement);
    Owned r(rt_str_replace(source.v(), search.v(), replacement.v()));
    EXPECT_TRUE(sized_record_holds(r.get(), c.result))
        << c.source << " / " << c.search << " / " << c.replacement;
  }
}

// What the header says, done the plain way: from where the scan stands, the first place where
// all of the search string's bytes match inside the source and its bytes up to its first NUL
// lie before the source's next NUL.
std::string plain_replace(const std::string &source, const std::string &search,
                          const std::string &replacement) {
  const size_t lead = std::min(search.find('\0'), search.size());
  std::string out;
  size_t place = 0;
  for (;;) {
    const size_t stop = std::min(source.find('\0', place), source.size());
    size_t at = place;
    while (at + lead <= stop && source.compare(at, search.size(), search) != 0)
      ++at;
    if (at + lead > stop || at + search.size() > source.size())
      return out + source.substr(place);
    out += source.substr(place, at - place) + replacement;
    place = at + search.size();
  }
}

// Pseudo-random sources over few letters and NULs, search strings cut from them or made up,
// some with a NUL; occurrences side by side, at the ends and across 16-byte boundaries.
TEST(StrReplace, AgreesWithAPlainReplaceOnRandomInputs) {
  Pseudo next{0x853C49E6748FEA9Bu};
  int replaced = 0;
  for (int round = 0; round < 800; ++round) {
    const uint64_t letters = 1 + next(3);
    const uint64_t nuls = round % 2 == 0 ? 0 : 3 + next(40);
    const size_t size = round % 5 == 0 ? 2000 + next(2000) : next(120);
    std::string source;
    for (size_t i = 0; i < size; ++i)
      source += nuls != 0 && next(nuls) == 0 ? '\0' : static_cast<char>('a' + next(letters));
    const size_t length = 1 + next(round % 3 == 0 ? 200 : 10);
    std::string search;
    if (next(2) == 0 && length <= size)
      search = source.substr(next(size - length + 1), length);
    for (size_t i = search.size(); i < length; ++i)
      search += static_cast<char>('a' + next(letters));
    if (search[0] == 0)
      search[0] = 'a';
    const std::string replacement(next(3), 'R');
    const std::string expected = plain_replace(source, search, replacement);
    replaced += expected != source;
    Text s(source), x(search), r(replacement);
    Owned result(rt_str_replace(s.v(), x.v(), r.v()));
    if (size == 0) {
      EXPECT_FALSE(result);
      continue;
    }
    ASSERT_TRUE(sized_record_holds(result.get(), expected)) << search.size() << " in " << size;
  }
  EXPECT_GT(replaced, 300);
}

TEST(StrReplace, EmptySourceGivesNull) {
  Text empty(""), search("a"), replacement("b");
  EXPECT_EQ(rt_str_replace(empty.v(), search.v(), replacement.v()), nullptr);
  Text nothing("");
  EXPECT_EQ(rt_str_replace(empty.v(), nothing.v(), replacement.v()), nullptr);
}

TEST(StrRepeat, BareBlockOfCountCopies) {
  const struct {
    std::string text;
    uint64_t count;
  } cases[] = {
      {"ab", 3},
      {"ab", 0},
      {"", 5},
      {"", UINT64_MAX},
      {"x", 1},
      {"abc", 1000},
      {std::string("\0z", 2), 4},
  };
  for (const auto &c : cases) {
    Text text(c.text);
    Owned block(rt_str_repeat(text.v(), c.count));
    ASSERT_TRUE(block) << c.text << " x" << c.count;
    const uint64_t size = c.text.size() * c.count;
    EXPECT_HEAP_BLOCK_SIZE(block.block, size);
    std::string expected;
    for (uint64_t i = 0; i < c.count && !c.text.empty(); ++i)
      expected += c.text;
    EXPECT_EQ(std::string(static_cast<const char *>(block.block), size), expected);
  }
}

// A product that does not fit in 64 bits allocates nothing and gives null.
TEST(StrRepeat, OverflowingSizeGivesNull) {
  Text text("abc");
  const uint64_t counts[] = {UINT64_MAX, UINT64_MAX / 3 + 1, uint64_t{1} << 63};
  for (uint64_t count : counts)
    EXPECT_EQ(rt_str_repeat(text.v(), count), nullptr) << count;
}

// Sizes at the 64-bit limit, each at the guard's exact boundary and one past it. The length
// words are huge but no text is read before a block has been had, and none is, so small real
// texts stand behind them. Replace and remove fall back to a copy of their small source.
TEST(OverflowGuards, SizesAtTheLimitGiveNullOrTheCopy) {
  char text[] = "aXaXX";
  const uint64_t max = UINT64_MAX;
  const StrView x{text + 1, 1}, axa{text, 3}, xx{text + 3, 2};
  const struct {
    const char *what;
    uint64_t a, b;
  } sums[] = {
      {"at the record limit", max - 40, 7}, // length + 33 is exactly 2^64 - 1
      {"one past it", max - 40, 8},
      {"a total of exactly 2^64 - 1", max - 40, 40},
      {"a total that wraps", max - 40, 41},
  };
  for (const auto &c : sums) {
    const StrView first{text, c.a}, second{text, c.b};
    EXPECT_EQ(rt_str_insert(&first, &second, 1), nullptr) << c.what;
    EXPECT_EQ(rt_str_insert(&second, &first, 1), nullptr) << c.what;
    RtString destination{text, 1, 2, 3};
    EXPECT_EQ(rt_str_concat(&destination, &first, &second), 1) << c.what;
    EXPECT_EQ(destination.data, text);
  }
  for (uint64_t length : {max - 33, max - 32, max - 1, max}) {
    const StrView big{text, length};
    EXPECT_EQ(rt_str_dup(&big), nullptr) << length;
  }
  // One occurrence in aXa: the result is 3 + (replacement - 1) long.
  for (uint64_t replacement : {max - 35, max - 2, max - 1, max}) {
    const StrView with{text, replacement};
    Owned copy(rt_str_replace(&axa, &x, &with));
    EXPECT_TRUE(sized_record_holds(copy.get(), "aXa")) << replacement;
  }
  // Two occurrences in XX: twice the growth wraps from 2^63 on.
  for (uint64_t growth : {(max / 2), (max / 2) + 1, (max / 2) + 2, max - 1}) {
    const StrView with{text, growth + 1};
    Owned copy(rt_str_replace(&xx, &x, &with));
    EXPECT_TRUE(sized_record_holds(copy.get(), "XX")) << growth;
  }
  // Repeat: count exactly UINT64_MAX / length still fits (but no such block can be had), one
  // more does not.
  for (uint64_t length : {uint64_t{1}, uint64_t{2}, uint64_t{3}, uint64_t{5}, max / 2, max}) {
    const StrView t{text, length};
    EXPECT_EQ(rt_str_repeat(&t, max / length), nullptr) << length;
    if (length > 1) {
      EXPECT_EQ(rt_str_repeat(&t, max / length + 1), nullptr) << length;
    }
  }
}

} // namespace
