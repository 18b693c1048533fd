// Platform calls of the process and environment routines, recorded by the stand-in.
#include <gtest/gtest.h>

#include <climits>

#include "rtlib.h"
#include "stand_in_services.h"

namespace {

using standin::Names;
using standin::word;
using standin::Words;

TEST(SleepCalls, PassesTheLow32BitsAndReturnsZero) {
  const struct {
    int64_t given;
    uint64_t passed;
  } cases[] = {{0, 0}, {250, 250}, {0x100000064, 100}, {-1, 0xFFFFFFFFu}, {INT64_MIN, 0}};
  for (const auto &c : cases) {
    standin::reset_all();
    EXPECT_EQ(rt_sleep(c.given), 0);
    ASSERT_EQ(standin::call_names(), Names{"Sleep"});
    EXPECT_EQ(standin::calls()[0].args, Words{c.passed}) << c.given;
  }
}

TEST(ExecCalls, PassesBothArgumentsAndTheResultUntouched) {
  const char *command = "prog.exe a b";
  const struct {
    int64_t show;
    uint64_t passed;
    uint64_t platform;
    int64_t result;
  } cases[] = {
      {1, 1, 33, 33}, {0, 0, 2, 2}, {0x100000005, 5, 0, 0}, {7, 7, 0xFFFFFFFFu, 0xFFFFFFFF}};
  for (const auto &c : cases) {
    standin::reset_all();
    standin::script_results("WinExec", {c.platform});
    EXPECT_EQ(rt_exec(command, c.show), c.result);
    ASSERT_EQ(standin::call_names(), Names{"WinExec"});
    EXPECT_EQ(standin::calls()[0].args, (Words{word(command), c.passed}));
  }
}

TEST(CommandLineAndEnvironmentCalls, HandOutThePlatformsOwnPointers) {
  standin::reset_all();
  EXPECT_EQ(rt_command_line(), standin::command_line_text);
  EXPECT_EQ(rt_environment(), standin::environment_block);
  EXPECT_EQ(standin::call_names(), (Names{"GetCommandLineA", "GetEnvironmentStringsA"}));
  standin::script_results("GetEnvironmentStringsA", {0});
  EXPECT_EQ(rt_environment(), nullptr);
}

TEST(SeedRandomCalls, SeedsWithTheLow32Bits) {
  const struct {
    int64_t seed;
    uint64_t passed;
  } cases[] = {{0, 0}, {42, 42}, {0x123456789, 0x23456789}, {-1, 0xFFFFFFFFu}};
  for (const auto &c : cases) {
    standin::reset_all();
    rt_seed_random(c.seed);
    ASSERT_EQ(standin::call_names(), Names{"srand"});
    EXPECT_EQ(standin::calls()[0].args, Words{c.passed}) << c.seed;
  }
}

} // namespace
