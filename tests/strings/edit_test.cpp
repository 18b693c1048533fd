// Edit routines: new sized records (or a copy, or null), arguments untouched; both tiers.
#include <gtest/gtest.h>

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
  };
  for (const auto &c : cases) {
    Text source(c.source), search(c.search), replacement(c.replacement);
    Owned r(rt_str_replace(source.v(), search.v(), replacement.v()));
    EXPECT_TRUE(sized_record_holds(r.get(), c.result))
        << c.source << " / " << c.search << " / " << c.replacement;
  }
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
    EXPECT_EQ(heap_block_size(block.block), std::optional<uint64_t>(size));
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

} // namespace
