// parity's write pattern, recorded by the stand-in.
#include <gtest/gtest.h>

#include "rtlib.h"
#include "stand_in.h"

namespace {

TEST(ParityCalls, ThreeWritesPerPassThirtyInAll) {
  standin::reset();
  EXPECT_EQ(program_main(), 0);
  std::vector<std::string> writes;
  for (const auto &call : standin::calls())
    if (call.name == "WriteFile")
      writes.push_back(call.bytes);
  ASSERT_EQ(writes.size(), 30u);
  for (int n = 1; n <= 10; ++n) {
    const size_t i = static_cast<size_t>(n - 1) * 3;
    EXPECT_EQ(writes[i], std::to_string(n) + "\r\n");
    EXPECT_EQ(writes[i + 1], n % 2 ? " is odd" : " is even");
    EXPECT_EQ(writes[i + 2], "\r\n");
  }
  // Every write is preceded by its own handle lookup.
  const auto names = standin::call_names();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == "WriteFile")
      EXPECT_EQ(names.at(i - 1), "GetStdHandle");
}

TEST(ParityCalls, FailingWritesChangeNothing) {
  standin::reset();
  standin::set_stdout(nullptr);
  EXPECT_EQ(program_main(), 0);
  size_t writes = 0;
  for (const auto &call : standin::calls())
    writes += call.name == "WriteFile";
  EXPECT_EQ(writes, 30u);
}

} // namespace
