// In-place routines: the view's two words and its text bytes change, nothing else; both tiers.
#include <gtest/gtest.h>

#include "text_support.h"

namespace {

using Routine = int64_t (*)(StrView *);

struct TrimCase {
  Routine trim;
  std::string text;
  uint64_t skipped; // how far data moves
  std::string result;
};

TEST(Trims, WhiteSpaceIsSpaceTabCrLf) {
  const std::string vt_ff = "\v a \f";
  const TrimCase cases[] = {
      {rt_str_trim, "  ab c \t\r\n", 2, "ab c"},
      {rt_str_ltrim, "  ab c \t\r\n", 2, "ab c \t\r\n"},
      {rt_str_rtrim, "  ab c \t\r\n", 0, "  ab c"},
      {rt_str_trim, "   ", 3, ""},
      {rt_str_ltrim, "   ", 3, ""},
      {rt_str_rtrim, "   ", 0, ""},
      {rt_str_rtrim, "ab  ", 0, "ab"},
      {rt_str_trim, "ab", 0, "ab"},
      {rt_str_trim, vt_ff, 0, vt_ff},
      {rt_str_ltrim, vt_ff, 0, vt_ff},
      {rt_str_rtrim, vt_ff, 0, vt_ff},
      {rt_str_trim, std::string(" \0 ", 3), 1, std::string("\0", 1)},
      {rt_str_trim, "\xA0x\xA0", 0, "\xA0x\xA0"},
      {rt_str_trim, "\n", 1, ""},
  };
  for (const auto &c : cases) {
    Text text(c.text);
    RtString record{text.view.data, text.view.length, 77, 1};
    char *const before = record.data;
    EXPECT_EQ(c.trim(reinterpret_cast<StrView *>(&record)), 0);
    EXPECT_EQ(record.data, before + c.skipped) << c.text;
    EXPECT_EQ(std::string(record.data, record.length), c.result) << c.text;
    EXPECT_EQ(record.data[record.length], 0) << c.text;
    EXPECT_EQ(record.capacity, 77u);
    EXPECT_EQ(record.inline_flag, 1u);
  }
}

// A view cut shorter than its text: the trims look at no byte from the cut on, even when it is
// white space, and write their NUL at most at the cut.
TEST(Trims, AViewCutShorterThanItsText) {
  const struct {
    Routine trim;
    std::string text;
    uint64_t length, skipped;
    std::string result, bytes_after;
  } cases[] = {
      {rt_str_ltrim, "   ab", 2, 2, "", std::string("  \0ab", 5)},
      {rt_str_trim, "   ab", 2, 2, "", std::string("  \0ab", 5)},
      {rt_str_trim, "  x  ", 3, 2, "x", std::string("  x\0 ", 5)},
      {rt_str_rtrim, "ab  x", 4, 0, "ab", std::string("ab\0 x", 5)},
      {rt_str_rtrim, "   x", 2, 0, "", std::string("\0  x", 4)},
      {rt_str_ltrim, "a  ", 1, 0, "a", std::string("a\0 ", 3)},
  };
  for (const auto &c : cases) {
    Text text(c.text);
    StrView view{text.view.data, c.length};
    EXPECT_EQ(c.trim(&view), 0);
    EXPECT_EQ(view.data, text.view.data + c.skipped) << c.text;
    EXPECT_EQ(std::string(view.data, view.length), c.result) << c.text;
    EXPECT_EQ(std::string(text.view.data, c.text.size()), c.bytes_after) << c.text;
  }
}

TEST(InPlace, EmptyTextIsLeftAlone) {
  for (Routine routine :
       {rt_str_trim, rt_str_ltrim, rt_str_rtrim, rt_str_lcase, rt_str_ucase, rt_str_reverse}) {
    char byte[2] = {'q', 'r'}; // a length of 0: nothing may be written, not even a terminator
    StrView view{byte, 0};
    EXPECT_EQ(routine(&view), 0);
    EXPECT_EQ(view.data, byte);
    EXPECT_EQ(view.length, 0u);
    EXPECT_EQ(byte[0], 'q');
  }
}

TEST(StrReverse, SwapsBytesAndKeepsTheTerminator) {
  const struct {
    std::string text, result;
  } cases[] = {{"abc", "cba"},
               {"abcd", "dcba"},
               {"a", "a"},
               {std::string("a\0b", 3), std::string("b\0a", 3)},
               {"\xE9\x01", "\x01\xE9"}};
  for (const auto &c : cases) {
    Text text(c.text);
    EXPECT_EQ(rt_str_reverse(text.v()), 0);
    EXPECT_EQ(std::string(text.view.data, text.view.length), c.result);
    EXPECT_EQ(text.view.data[text.view.length], 0);
  }
}

TEST(StrCase, AsciiAndTheAnsiPair201And233) {
  const struct {
    Routine routine;
    std::string text, result;
  } cases[] = {
      {rt_str_ucase, "ab1c", "AB1C"},
      {rt_str_lcase, "AB1c", "ab1c"},
      {rt_str_ucase, "\xE9t\xE9", "\xC9T\xC9"},
      {rt_str_lcase, "\xC9T\xC9", "\xE9t\xE9"},
      {rt_str_ucase, std::string("a\0b", 3), std::string("A\0B", 3)},
      {rt_str_lcase, "[@]`{", "[@]`{"},
  };
  for (const auto &c : cases) {
    Text text(c.text);
    char *const before = text.view.data;
    EXPECT_EQ(c.routine(text.v()), 0);
    EXPECT_EQ(text.view.data, before);
    EXPECT_EQ(std::string(text.view.data, text.view.length), c.result) << c.text;
  }
}

} // namespace
