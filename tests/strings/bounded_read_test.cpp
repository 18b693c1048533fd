// Routines that read their views by length touch no byte behind them: every text here ends
// where nothing can be read (fenced.h). rt_str_replace finds what strstr would find in the
// source read up to its first NUL, cut at its length, without reading past that length.
#include <gtest/gtest.h>

#include "fenced.h"
#include "text_support.h"

namespace {

TEST(BoundedRead, ReplaceReadsNothingBehindItsViews) {
  const struct {
    std::string source, search, replacement, result;
  } cases[] = {
      {"abca", "a", "XY", "XYbcXY"}, // an occurrence at the last byte
      {"abcd", "a", "XY", "XYbcd"},  // none there
      {"abca", "ca", "-", "ab-"},
      {"abca", "cab", "-", "abca"}, // would run past the end
      {"abca", "q", "-", "abca"},
      {"abca", "abca", "", ""},
      {"a", "a", "bb", "bb"},
      {"abcab", "b", "", "aca"},
      {"aaaa", "aa", "b", "bb"},
      {std::string("b\0c", 3), std::string("b\0c", 3), "X", "X"},
      {std::string("ab\0ab", 5), "b", "X", std::string("aX\0ab", 5)},
      {std::string("bc\0bc", 5), std::string("bc\0", 3), "X", "Xbc"},
      {std::string("ab\0x", 4), std::string("b\0c", 3), "X", std::string("ab\0x", 4)},
      {std::string("xb\0", 3), std::string("b\0c", 3), "X", std::string("xb\0", 3)},
      {std::string("xb\0b\0", 5), std::string("b\0b\0", 4), "X", "xX"},
  };
  for (const auto &c : cases) {
    Fenced source(c.source), search(c.search), replacement(c.replacement);
    ASSERT_TRUE(source.fenced() && search.fenced() && replacement.fenced());
    Owned r(rt_str_replace(source.v(), search.v(), replacement.v()));
    EXPECT_TRUE(sized_record_holds(r.get(), c.result)) << c.source << " / " << c.search;
  }
}

// A view cut shorter than its text: nothing from the cut on takes part in an occurrence.
TEST(BoundedRead, ReplaceInAViewCutShorterThanItsText) {
  char text[] = "abcabc";
  const struct {
    uint64_t length;
    std::string search, result;
  } cases[] = {
      {4, "ab", "Xca"}, {4, "a", "XbcX"}, {5, "bc", "aXab"}, {3, "cab", "abc"}, {2, "b", "aX"}};
  for (const auto &c : cases) {
    StrView source{text, c.length};
    Text search(c.search), replacement("X");
    Owned r(rt_str_replace(&source, search.v(), replacement.v()));
    EXPECT_TRUE(sized_record_holds(r.get(), c.result)) << c.length << " / " << c.search;
  }
  EXPECT_STREQ(text, "abcabc");
}

TEST(BoundedRead, ByLengthRoutinesStayInsideTheirViews) {
  Fenced abca("abca"), a("a"), cd("cd"), yzq("yzq"), xyz("xyz"), abcd("abcd"), empty("");
  for (Fenced *f : {&abca, &a, &cd, &yzq, &xyz, &abcd})
    ASSERT_TRUE(f->fenced());
  EXPECT_EQ(rt_instr(abca.v(), a.v()), 1);
  EXPECT_EQ(rt_instr(abcd.v(), cd.v()), 3);
  EXPECT_EQ(rt_instr(xyz.v(), yzq.v()), 0);
  EXPECT_EQ(rt_instr(abcd.v(), xyz.v()), 0);
  EXPECT_EQ(rt_instr(empty.v(), a.v()), 0);
  Owned dup(rt_str_dup(abca.v()));
  EXPECT_TRUE(sized_record_holds(dup.get(), "abca"));
  Owned inserted(rt_str_insert(abca.v(), cd.v(), 5));
  EXPECT_TRUE(sized_record_holds(inserted.get(), "abcacd"));
  Owned removed(rt_str_remove(abca.v(), 4, 9));
  EXPECT_TRUE(sized_record_holds(removed.get(), "abc"));
  Owned block(rt_str_repeat(cd.v(), 3));
  ASSERT_TRUE(block);
  EXPECT_EQ(std::string(static_cast<const char *>(block.block), 6), "cdcdcd");
  RtString joined{};
  ASSERT_EQ(rt_str_concat(&joined, abca.v(), cd.v()), 0);
  Owned joined_text(joined.data);
  EXPECT_EQ(std::string(joined.data, joined.length), "abcacd");
  // The in-place routines that rewrite only bytes inside the view.
  EXPECT_EQ(rt_str_reverse(abcd.v()), 0);
  EXPECT_EQ(std::string(abcd.view.data, 4), "dcba");
  EXPECT_EQ(rt_str_ucase(xyz.v()), 0);
  EXPECT_EQ(std::string(xyz.view.data, 3), "XYZ");
  EXPECT_EQ(rt_str_lcase(xyz.v()), 0);
  EXPECT_EQ(std::string(xyz.view.data, 3), "xyz");
}

} // namespace
