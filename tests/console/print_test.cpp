// Bytes that the console-line routines put on standard output, on both tiers.
#include <gtest/gtest.h>

#include <climits>

#include "capture.h"
#include "rtlib.h"

namespace {

struct IntCase {
  int64_t value;
  const char *bytes;
};
const IntCase int_cases[] = {
    {0, "0\r\n"},
    {-1, "-1\r\n"},
    {7, "7\r\n"},
    {10, "10\r\n"},
    {-1234567890123, "-1234567890123\r\n"},
    {INT64_MAX, "9223372036854775807\r\n"},
    {INT64_MIN, "-9223372036854775808\r\n"},
};

TEST(PrintInt, WritesDecimalAndLineEnd) {
  for (const IntCase &c : int_cases) {
    int64_t result = 0;
    EXPECT_EQ(capture_output([&] { result = rt_print_int(c.value); }), c.bytes) << c.value;
    EXPECT_NE(result, 0) << c.value;
  }
}

TEST(PrintInt, Arg2IgnoresItsFirstArgument) {
  EXPECT_EQ(capture_output([] { rt_print_int_arg2(99, -42); }), "-42\r\n");
}

struct LineCase {
  const char *text;
  std::string bytes;
};

TEST(PrintLine, WritesTextThenCrLf) {
  const LineCase cases[] = {
      {"Hello, World!", "Hello, World!\r\n"},
      {"", "\r\n"},
      {"a\nb\n", "a\nb\n\r\n"},
      {"up to\0 here", "up to\r\n"},
      {"\xE9\xC9\x80\xFF", "\xE9\xC9\x80\xFF\r\n"},
  };
  for (const LineCase &c : cases) {
    int64_t result = 0;
    EXPECT_EQ(capture_output([&] { result = rt_print_line(c.text); }), c.bytes) << c.text;
    EXPECT_NE(result, 0) << c.text;
  }
}

TEST(PrintLine, Arg2IgnoresItsFirstArgument) {
  EXPECT_EQ(capture_output([] { rt_print_line_arg2(7, "x"); }), "x\r\n");
}

} // namespace
