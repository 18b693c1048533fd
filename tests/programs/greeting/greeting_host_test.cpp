// greeting's write pattern, recorded by the stand-in.
#include <gtest/gtest.h>

#include "rtlib.h"
#include "stand_in.h"

namespace {

TEST(GreetingCalls, TwoWrites) {
  standin::reset();
  EXPECT_EQ(program_main(), 0);
  std::vector<std::string> writes;
  for (const auto &call : standin::calls())
    if (call.name == "WriteFile")
      writes.push_back(call.bytes);
  EXPECT_EQ(writes, (std::vector<std::string>{"Hello, World!", "\r\n"}));
}

} // namespace
