// Platform calls of the console-line routines, recorded by the stand-in.
#include <gtest/gtest.h>

#include <climits>

#include "rtlib.h"
#include "stand_in.h"

namespace {

using standin::Names;
using standin::word;

TEST(PrintIntCalls, FormatsThenOneWriteOnAFreshHandle) {
  standin::reset();
  EXPECT_EQ(rt_print_int(INT64_MIN), 1);
  ASSERT_EQ(standin::call_names(), (Names{"_snprintf", "GetStdHandle", "WriteFile"}));
  const auto &calls = standin::calls();
  EXPECT_EQ(calls[0].args[1], 32u); // the formatter is told the buffer holds 32 bytes
  EXPECT_STREQ(reinterpret_cast<const char *>(calls[0].args[2]), "%I64d\r\n");
  EXPECT_EQ(calls[1].args[0], word(STD_OUTPUT_HANDLE));
  const auto &write = calls[2];
  EXPECT_EQ(write.args[0], word(standin::stdout_handle));
  EXPECT_EQ(write.args[2], 22u);
  EXPECT_EQ(write.bytes, "-9223372036854775808\r\n");
  EXPECT_NE(write.args[3], 0u); // a written-count variable
  EXPECT_EQ(write.args[4], 0u); // no overlapped structure
}

TEST(PrintIntCalls, ReturnsTheWriteFlag) {
  standin::reset();
  standin::script_write_results({0});
  EXPECT_EQ(rt_print_int(5), 0);
  standin::set_stdout(INVALID_HANDLE_VALUE);
  EXPECT_EQ(rt_print_int(5), 0);
}

TEST(PrintLineCalls, TwoWritesEachAfterItsOwnHandleLookup) {
  standin::reset();
  rt_print_line("abc");
  ASSERT_EQ(standin::call_names(),
            (Names{"GetStdHandle", "WriteFile", "GetStdHandle", "WriteFile"}));
  const auto &calls = standin::calls();
  EXPECT_EQ(calls[1].bytes, "abc");
  EXPECT_EQ(calls[3].bytes, "\r\n");
  for (int i : {1, 3}) {
    EXPECT_NE(calls[i].args[3], 0u);
    EXPECT_EQ(calls[i].args[4], 0u);
  }
}

TEST(PrintLineCalls, EmptyTextStillMakesAZeroLengthWrite) {
  standin::reset();
  rt_print_line("");
  ASSERT_EQ(standin::calls().size(), 4u);
  EXPECT_EQ(standin::calls()[1].args[2], 0u);
  EXPECT_EQ(standin::calls()[3].args[2], 2u);
}

TEST(PrintLineCalls, ReportsOnlyTheLineEndWrite) {
  const struct { BOOL text_write, line_end_write; } cases[] = {{0, 1}, {1, 0}, {0, 0}, {1, 1}};
  for (const auto &c : cases) {
    standin::reset();
    standin::script_write_results({c.text_write, c.line_end_write});
    EXPECT_EQ(rt_print_line("x"), c.line_end_write) << c.text_write << c.line_end_write;
    EXPECT_EQ(standin::calls().size(), 4u);
  }
}

TEST(PrintLineCalls, NoUsableOutputReturnsZero) {
  standin::reset();
  standin::set_stdout(nullptr);
  EXPECT_EQ(rt_print_line("lost"), 0);
  EXPECT_EQ(rt_print_line_arg2(1, "lost"), 0);
  EXPECT_EQ(rt_print_int_arg2(1, 3), 0);
}

} // namespace
