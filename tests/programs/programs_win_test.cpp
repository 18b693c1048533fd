// The program images, run under the real platform: exact output bytes, exit codes, headers.
#include <gtest/gtest.h>
#include <windows.h>

#include "harness.h"
#include "routine_table.h"

namespace {

const std::string parity_output =
    "1\r\n is odd\r\n2\r\n is even\r\n3\r\n is odd\r\n4\r\n is even\r\n"
    "5\r\n is odd\r\n6\r\n is even\r\n7\r\n is odd\r\n8\r\n is even\r\n"
    "9\r\n is odd\r\n10\r\n is even\r\n";

TEST(Parity, WritesExactly126Bytes) {
  const harness::Run run = harness::run_image("parity");
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.output.size(), 126u);
  EXPECT_EQ(run.output, parity_output);
  EXPECT_EQ(run.exit_code, 0u);
}

TEST(Greeting, WritesExactly15Bytes) {
  const harness::Run run = harness::run_image("greeting");
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.output, "Hello, World!\r\n");
  EXPECT_EQ(run.exit_code, 0u);
}

TEST(CallProfilePrograms, ExitZeroWithoutUsableStandardOutput) {
  for (const char *image : {"parity", "greeting"})
    for (harness::Stdout mode :
         {harness::Stdout::invalid, harness::Stdout::closed, harness::Stdout::null}) {
      const harness::Run run = harness::run_image(image, mode);
      ASSERT_TRUE(run.started) << image;
      EXPECT_EQ(run.exit_code, 0u) << image << " mode " << static_cast<int>(mode);
    }
}

TEST(CallProfilePrograms, HeadersAndEntryInTheRuntime) {
  for (const char *image : {"parity", "greeting", "exit_minus_one"}) {
    const auto pe = harness::read_pe(harness::image_path(image));
    ASSERT_TRUE(pe.has_value()) << image;
    EXPECT_EQ(pe->subsystem, 3) << image; // console
    EXPECT_EQ(pe->stack_reserve, 0x100000u) << image;
    EXPECT_EQ(pe->stack_commit, 0x1000u) << image;
    EXPECT_EQ(pe->heap_reserve, 0x100000u) << image;
    const auto map = harness::read_map(harness::image_dir_file(std::string(image) + ".map"));
    const auto start = harness::map_address(map, "rt_start");
    ASSERT_TRUE(start.has_value()) << image;
    EXPECT_EQ(pe->image_base + pe->entry_rva, *start) << image;
    // No C runtime start-up code in the image, and nothing of it imported.
    for (const char *crt : {"mainCRTStartup", "__tmainCRTStartup", "__main", "__getmainargs"}) {
      EXPECT_FALSE(harness::map_address(map, crt).has_value()) << image << " " << crt;
      for (const std::string &import : pe->imports)
        EXPECT_EQ(import.find(crt), std::string::npos) << image << " " << import;
    }
  }
}

// Every routine that the routine table has the call profile carry is in both call-profile
// images, whether the program uses it or not.
TEST(CallProfilePrograms, CarryTheWholeCallProfile) {
  const auto rows = routine_table::read(harness::source_file("rtlib/routines.txt"));
  size_t carried = 0;
  for (const char *image : {"parity", "greeting"}) {
    const auto map = harness::read_map(harness::image_dir_file(std::string(image) + ".map"));
    for (const auto &row : rows) {
      if (!row.carried_by("call"))
        continue;
      ++carried;
      EXPECT_TRUE(harness::map_address(map, row.routine).has_value())
          << image << " lacks " << row.routine;
    }
    // The inline tail is not part of the call profile.
    EXPECT_FALSE(harness::map_address(map, "rt_stack_fault_handler").has_value()) << image;
  }
  EXPECT_GE(carried, 2 * 80u);
}

// The five programs keep every contract: linked with the checked runtime they give the same
// output and exit code, nothing on standard error, and leave no block live at exit.
TEST(Programs, RunUnchangedOnTheCheckedRuntime) {
  SetEnvironmentVariableA("RTLIB_CHECK_LEAKS", "1");
  for (const std::string image : {"parity", "greeting", "strdemo", "threaddemo", "minimal"}) {
    SCOPED_TRACE(image);
    const harness::Run release = harness::run_image(image);
    const harness::Run checked = harness::run_image(image + "_checked");
    ASSERT_TRUE(checked.started);
    EXPECT_EQ(checked.output, release.output);
    EXPECT_EQ(checked.exit_code, release.exit_code);
    EXPECT_EQ(checked.errors, "");
  }
  SetEnvironmentVariableA("RTLIB_CHECK_LEAKS", nullptr);
}

} // namespace
