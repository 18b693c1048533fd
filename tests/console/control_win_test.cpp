// Console control on the real platform: with standard output redirected to a file, and on a
// real console screen buffer where the platform offers one.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "rtlib.h"
#include "temp_folder.h"

namespace {

// Points this process's standard output at a handle for the life of the object.
class StdoutSwap {
public:
  explicit StdoutSwap(HANDLE handle) : saved_(GetStdHandle(STD_OUTPUT_HANDLE)) {
    SetStdHandle(STD_OUTPUT_HANDLE, handle);
  }
  ~StdoutSwap() {
    SetStdHandle(STD_OUTPUT_HANDLE, saved_);
  }

private:
  HANDLE saved_;
};

TEST(ConsoleControlRedirected, FailureResultsAndNoBytes) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder / "stdout.txt";
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  {
    StdoutSwap swap(file);
    EXPECT_EQ(rt_set_color(14, 1), 0);
    EXPECT_EQ(rt_set_color(7, 0), 0);
    EXPECT_EQ(rt_locate(2, 3), 0);
    EXPECT_EQ(rt_clear_screen(), 0);
    EXPECT_EQ(rt_set_buffer_size(100), 0);
    EXPECT_EQ(rt_set_title("rtlib redirected"), 0); // does not use standard output
    const int64_t beep = rt_beep(0, 0);             // nor does this; any sound is not checked
    EXPECT_TRUE(beep == 0 || beep == 1) << beep;
  }
  CloseHandle(file);
  EXPECT_EQ(TempFolder::read(path), "");
}

// A screen buffer of the platform's own, made standard output for the test; skipped with a
// reason when the platform offers no console at all in this setting.
class RealConsole : public testing::Test {
protected:
  // Under Wine a process gets a working console only when it was started on a terminal; one
  // made by AllocConsole without a display takes handles but does nothing. A buffer counts
  // when it answers GetConsoleScreenBufferInfo. With RTLIB_REQUIRE_CONSOLE set (the run on a
  // pseudo-terminal) a missing console fails the test instead of skipping it.
  void SetUp() override {
    for (int i = 0; i < 3; ++i)
      saved_[i] = GetStdHandle(std_ids[i]);
    buffer_ = make_buffer();
    if (!usable(buffer_)) {
      FreeConsole();
      allocated_ = AllocConsole() != 0;
      buffer_ = make_buffer();
    }
    if (!usable(buffer_)) {
      const std::string reason =
          "no working console screen buffer in this setting (CreateConsoleScreenBuffer, also "
          "after AllocConsole, gave none that answers); run on a terminal to test it";
      if (GetEnvironmentVariableA("RTLIB_REQUIRE_CONSOLE", nullptr, 0) != 0)
        FAIL() << reason;
      GTEST_SKIP() << reason;
    }
    SetStdHandle(STD_OUTPUT_HANDLE, buffer_);
  }
  static bool usable(HANDLE &buffer) {
    CONSOLE_SCREEN_BUFFER_INFO probe{};
    if (buffer != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(buffer, &probe))
      return true;
    if (buffer != INVALID_HANDLE_VALUE)
      CloseHandle(buffer);
    buffer = INVALID_HANDLE_VALUE;
    return false;
  }
  // AllocConsole replaces all three standard handles; each gets its old value back.
  void TearDown() override {
    if (buffer_ != INVALID_HANDLE_VALUE)
      CloseHandle(buffer_);
    if (allocated_)
      FreeConsole();
    for (int i = 0; i < 3; ++i)
      SetStdHandle(std_ids[i], saved_[i]);
  }
  static HANDLE make_buffer() {
    return CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     CONSOLE_TEXTMODE_BUFFER, nullptr);
  }
  CONSOLE_SCREEN_BUFFER_INFO info() const {
    CONSOLE_SCREEN_BUFFER_INFO i{};
    EXPECT_TRUE(GetConsoleScreenBufferInfo(buffer_, &i));
    return i;
  }
  static constexpr DWORD std_ids[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
  HANDLE buffer_ = INVALID_HANDLE_VALUE;
  HANDLE saved_[3] = {};
  bool allocated_ = false;
};

TEST_F(RealConsole, SetColorSetsTheAttribute) {
  const struct {
    int64_t foreground, background;
    WORD attribute;
  } cases[] = {{14, 1, 0x1E}, {7, 0, 0x07}, {15, 31, 0xFF}, {16, 0, 0x10}, {2, 4, 0x42}};
  for (const auto &c : cases) {
    EXPECT_NE(rt_set_color(c.foreground, c.background), 0);
    EXPECT_EQ(info().wAttributes, c.attribute) << c.foreground << " " << c.background;
  }
}

TEST_F(RealConsole, LocateMovesTheCursorRowFirst) {
  EXPECT_NE(rt_locate(3, 10), 0);
  COORD at = info().dwCursorPosition;
  EXPECT_EQ(at.X, 10);
  EXPECT_EQ(at.Y, 3);
  EXPECT_NE(rt_locate(0x10001, 0x20002), 0); // cut to 16 bits
  at = info().dwCursorPosition;
  EXPECT_EQ(at.X, 2);
  EXPECT_EQ(at.Y, 1);
  EXPECT_EQ(rt_locate(-1, 0), 0); // outside the buffer: refused
}

TEST_F(RealConsole, ClearScreenBlanksEightyCellsAndLeavesTheCursor) {
  const COORD origin{0, 0};
  DWORD done = 0;
  ASSERT_TRUE(FillConsoleOutputCharacterA(buffer_, 'X', 120, origin, &done));
  ASSERT_TRUE(FillConsoleOutputAttribute(buffer_, 0x1E, 120, origin, &done));
  ASSERT_NE(rt_locate(2, 5), 0);

  EXPECT_NE(rt_clear_screen(), 0);

  char text[120];
  WORD attributes[120];
  ASSERT_TRUE(ReadConsoleOutputCharacterA(buffer_, text, 120, origin, &done));
  ASSERT_EQ(done, 120u);
  ASSERT_TRUE(ReadConsoleOutputAttribute(buffer_, attributes, 120, origin, &done));
  for (int i = 0; i < 120; ++i) {
    EXPECT_EQ(text[i], i < 80 ? ' ' : 'X') << i;
    EXPECT_EQ(attributes[i], i < 80 ? 7 : 0x1E) << i;
  }
  EXPECT_EQ(info().dwCursorPosition.X, 5);
  EXPECT_EQ(info().dwCursorPosition.Y, 2);
}

TEST_F(RealConsole, SetBufferSizeKeepsTheWidth) {
  const COORD before = info().dwSize;
  const SHORT rows = static_cast<SHORT>(before.Y + 50);
  EXPECT_EQ(rt_set_buffer_size(rows), 0);
  EXPECT_EQ(info().dwSize.X, before.X);
  EXPECT_EQ(info().dwSize.Y, rows);
  EXPECT_EQ(rt_set_buffer_size(0x10000 + before.Y), 0); // cut to 16 bits
  EXPECT_EQ(info().dwSize.Y, before.Y);
}

TEST_F(RealConsole, SetTitleIncludingAnEmptyOne) {
  char title[64] = {};
  EXPECT_EQ(rt_set_title("rtlib console title"), 0);
  EXPECT_EQ(GetConsoleTitleA(title, sizeof title), 19u);
  EXPECT_STREQ(title, "rtlib console title");
  EXPECT_EQ(rt_set_title(""), 0);
  EXPECT_EQ(GetConsoleTitleA(title, sizeof title), 0u); // the title is now empty
}

} // namespace
