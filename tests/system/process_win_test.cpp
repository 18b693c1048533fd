// Process and environment services on the real platform.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "harness.h"
#include "rtlib.h"
#include "temp_folder.h"

namespace {

// Built by appending: gcc 12 warns falsely on chains of string + string at -O3.
std::string quoted(const std::string &path, const std::string &rest = "") {
  std::string text = "\"";
  text.append(path).append("\"").append(rest);
  return text;
}

std::vector<std::string> lines(const std::string &output) {
  std::vector<std::string> result;
  size_t start = 0;
  for (size_t end; (end = output.find("\r\n", start)) != std::string::npos; start = end + 2)
    result.push_back(output.substr(start, end - start));
  return result;
}

// The started image makes the directory named on its command line, which shows it ran.
TEST(Exec, StartsAnImage) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string made = folder / "made_by_child";
  const std::string command = quoted(harness::image_path("exec_target"), " " + made);
  const int64_t result = rt_exec(command.c_str(), SW_HIDE);
  EXPECT_GT(result, 31);
  bool seen = false;
  for (int i = 0; i < 200 && !seen; ++i) {
    seen = TempFolder::exists(made);
    if (!seen)
      Sleep(50);
  }
  EXPECT_TRUE(seen) << "the started image did not run";
}

TEST(Exec, MissingProgramGivesTheErrorNumber) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string command = quoted(folder / "absent.exe");
  const int64_t result = rt_exec(command.c_str(), SW_HIDE);
  EXPECT_GE(result, 0);
  EXPECT_LE(result, 31);
}

TEST(CommandLineAndEnvironment, WhatTheImageWasStartedWith) {
  ASSERT_TRUE(SetEnvironmentVariableA("RTLIB_PROBE", "probe = value"));
  const harness::Run run =
      harness::run_image("show_startup", harness::Stdout::pipe, "alpha \"beta gamma\" -x");
  SetEnvironmentVariableA("RTLIB_PROBE", nullptr);
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exit_code, 0u);
  const auto got = lines(run.output);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got[0], quoted(harness::image_path("show_startup"), " alpha \"beta gamma\" -x"));
  int probes = 0;
  for (size_t i = 1; i < got.size(); ++i) {
    EXPECT_NE(got[i].find('='), std::string::npos) << got[i];
    probes += got[i] == "RTLIB_PROBE=probe = value";
  }
  EXPECT_EQ(probes, 1);
}

TEST(CommandLineAndEnvironment, ThisProcesssOwnPointersAndBlock) {
  EXPECT_EQ(rt_command_line(), GetCommandLineA());
  ASSERT_TRUE(SetEnvironmentVariableA("RTLIB_INPROCESS", "yes"));
  const char *block = rt_environment();
  SetEnvironmentVariableA("RTLIB_INPROCESS", nullptr);
  ASSERT_NE(block, nullptr);
  int found = 0, entries = 0;
  const char *p = block;
  for (; *p != '\0'; p += strlen(p) + 1) {
    ++entries;
    found += std::string(p) == "RTLIB_INPROCESS=yes";
  }
  EXPECT_EQ(found, 1);
  EXPECT_GT(entries, 1);
  EXPECT_EQ(p[0], '\0'); // the block ends in one further NUL
}

TEST(Sleep, ReturnsZeroAfterAtLeastTheTime) {
  EXPECT_EQ(rt_sleep(0), 0);
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(rt_sleep(0x100000000 + 60), 0); // only the low 32 bits: 60 ms
  const ULONGLONG elapsed = GetTickCount64() - start;
  EXPECT_GE(elapsed, 40u);
  EXPECT_LT(elapsed, 60000u);
}

// Seeding through the runtime gives the sequence that seeding the C library directly gives.
TEST(SeedRandom, SameSequenceAsSrandWithTheLow32Bits) {
  for (int64_t seed : {INT64_C(1), INT64_C(12345), INT64_C(0x100000007)}) {
    srand(static_cast<unsigned>(seed & 0xFFFFFFFF));
    std::vector<int> expected;
    for (int i = 0; i < 8; ++i)
      expected.push_back(rand());
    srand(999);
    rt_seed_random(seed);
    std::vector<int> got;
    for (int i = 0; i < 8; ++i)
      got.push_back(rand());
    EXPECT_EQ(got, expected) << seed;
  }
}

} // namespace
