// Platform calls of the console-control routines, recorded by the stand-in.
#include <gtest/gtest.h>

#include <climits>

#include "rtlib.h"
#include "stand_in_services.h"

namespace {

using standin::Names;
using standin::word;
using standin::Words;
const HANDLE redirected = reinterpret_cast<HANDLE>(uintptr_t{0xF00D});

TEST(SetColorCalls, AttributeIsForegroundOrShiftedBackgroundMasked) {
  const struct {
    int64_t foreground, background;
    uint64_t attribute;
  } cases[] = {
      {14, 1, 0x1E}, {7, 0, 0x07},  {15, 31, 0xFF}, {16, 0, 0x10},        {0, 15, 0xF0},
      {0, 16, 0x00}, {-1, 0, 0xFF}, {0, -1, 0xF0},  {0x1234, 0x56, 0x74}, {INT64_MIN, 0, 0},
  };
  for (const auto &c : cases) {
    standin::reset_all();
    EXPECT_EQ(rt_set_color(c.foreground, c.background), 1);
    ASSERT_EQ(standin::call_names(), (Names{"GetStdHandle", "SetConsoleTextAttribute"}));
    EXPECT_EQ(standin::calls()[0].args[0], word(STD_OUTPUT_HANDLE));
    EXPECT_EQ(standin::calls()[1].args, (Words{word(standin::console_handle), c.attribute}))
        << c.foreground << " " << c.background;
  }
}

TEST(LocateCalls, RowGoesToYColumnToXEachCutTo16Bits) {
  const struct {
    int64_t row, column;
    uint64_t x, y;
  } cases[] = {
      {0, 0, 0, 0},
      {3, 10, 10, 3},
      {24, 79, 79, 24},
      {0x10005, 0x20007, 7, 5},
      {-1, -2, 0xFFFE, 0xFFFF},
      {0x7FFF, 0x8000, 0x8000, 0x7FFF},
  };
  for (const auto &c : cases) {
    standin::reset_all();
    EXPECT_EQ(rt_locate(c.row, c.column), 1);
    ASSERT_EQ(standin::call_names(), (Names{"GetStdHandle", "SetConsoleCursorPosition"}));
    EXPECT_EQ(standin::calls()[1].args, (Words{word(standin::console_handle), c.x, c.y}))
        << c.row << " " << c.column;
  }
}

TEST(ClearScreenCalls, ExactlyTwoFillsOfEightyCellsFromTheOrigin) {
  standin::reset_all();
  EXPECT_EQ(rt_clear_screen(), 1);
  ASSERT_EQ(standin::call_names(),
            (Names{"GetStdHandle", "FillConsoleOutputCharacterA", "FillConsoleOutputAttribute"}));
  const auto &chars = standin::calls()[1].args;
  const auto &attrs = standin::calls()[2].args;
  EXPECT_EQ(Words(chars.begin(), chars.end() - 1),
            (Words{word(standin::console_handle), ' ', 80, 0, 0}));
  EXPECT_EQ(Words(attrs.begin(), attrs.end() - 1),
            (Words{word(standin::console_handle), 7, 80, 0, 0}));
  EXPECT_NE(chars.back(), 0u); // each fill has a cell counter
  EXPECT_NE(attrs.back(), 0u);
}

TEST(ClearScreenCalls, ResultIsTheAttributeFillsFlag) {
  const struct { BOOL characters, attributes; } cases[] = {{0, 1}, {1, 0}, {0, 0}, {1, 1}};
  for (const auto &c : cases) {
    standin::reset_all();
    standin::script_results("FillConsoleOutputCharacterA", {word(c.characters)});
    standin::script_results("FillConsoleOutputAttribute", {word(c.attributes)});
    EXPECT_EQ(rt_clear_screen(), c.attributes) << c.characters << c.attributes;
    EXPECT_EQ(standin::calls().size(), 3u); // the attribute fill happens either way
  }
}

TEST(BeepCalls, AlwaysEightHundredHertzForTwoHundredMilliseconds) {
  const int64_t given[][2] = {{0, 0}, {440, 1000}, {-1, -1}, {INT64_MAX, INT64_MIN}};
  for (const auto &args : given) {
    standin::reset_all();
    EXPECT_EQ(rt_beep(args[0], args[1]), 1);
    ASSERT_EQ(standin::call_names(), Names{"Beep"});
    EXPECT_EQ(standin::calls()[0].args, (Words{800, 200}));
  }
  standin::reset_all();
  standin::script_results("Beep", {0});
  EXPECT_EQ(rt_beep(1, 1), 0);
}

TEST(SetBufferSizeCalls, KeepsTheWidthAndSetsTheRows) {
  const struct {
    int64_t rows;
    uint64_t y;
  } cases[] = {{500, 500}, {0, 0}, {0x10019, 0x19}, {-1, 0xFFFF}};
  for (const auto &c : cases) {
    standin::reset_all();
    standin::set_console_size(132, 40);
    EXPECT_EQ(rt_set_buffer_size(c.rows), 0);
    ASSERT_EQ(standin::call_names(),
              (Names{"GetStdHandle", "GetConsoleScreenBufferInfo", "SetConsoleScreenBufferSize"}));
    EXPECT_EQ(standin::calls()[1].args[0], word(standin::console_handle));
    EXPECT_EQ(standin::calls()[2].args, (Words{word(standin::console_handle), 132, c.y}));
  }
}

TEST(SetBufferSizeCalls, ReturnsZeroWhateverThePlatformSays) {
  standin::reset_all();
  standin::script_results("SetConsoleScreenBufferSize", {0});
  EXPECT_EQ(rt_set_buffer_size(10), 0);
  standin::reset_all();
  standin::script_results("SetConsoleScreenBufferSize", {7});
  EXPECT_EQ(rt_set_buffer_size(10), 0);
}

TEST(SetTitleCalls, PassesTheTextAndReturnsZero) {
  for (const char *title : {"rtlib", ""}) {
    for (uint64_t flag : {0, 1}) {
      standin::reset_all();
      standin::script_results("SetConsoleTitleA", {flag});
      EXPECT_EQ(rt_set_title(title), 0);
      ASSERT_EQ(standin::call_names(), Names{"SetConsoleTitleA"});
      EXPECT_EQ(standin::calls()[0].args[0], word(title));
    }
  }
}

// Standard output that is not a console: each call on it fails and the routines with a flag
// report 0; nothing is written.
TEST(ConsoleControlCalls, RedirectedOutputFailsWithoutWriting) {
  standin::reset_all();
  standin::set_stdout(redirected);
  EXPECT_EQ(rt_set_color(14, 1), 0);
  EXPECT_EQ(rt_locate(1, 1), 0);
  EXPECT_EQ(rt_clear_screen(), 0);
  EXPECT_EQ(rt_set_buffer_size(50), 0);
  for (const auto &call : standin::calls()) {
    EXPECT_NE(call.name, "WriteFile");
    if (call.name != "GetStdHandle")
      EXPECT_EQ(call.args[0], word(redirected)) << call.name;
  }
  EXPECT_EQ(standin::written_to(redirected), "");
}

} // namespace
