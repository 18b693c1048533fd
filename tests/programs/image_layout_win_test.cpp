// What the image layout must keep, under the real platform: every image runs the same when the
// loader puts it at another base, the stack unwinds from inside runtime routines back to their
// caller, and the headers keep ASLR, NX and high-entropy addresses with no section both
// writable and executable.
#include <gtest/gtest.h>

#include <windows.h>

#include "harness.h"

namespace {

const char *const all_images[] = {"parity",     "greeting",    "strdemo",
                                  "threaddemo", "minimal",     "like_tail",
                                  "exit_wide",  "unwind_call", "unwind_inline"};

TEST(ImageLayout, EveryImageRunsTheSameAtAnotherBase) {
  for (const char *image : all_images) {
    const harness::Run here = harness::run_image(image);
    const harness::Run moved =
        harness::run_image("rebase_runner", harness::Stdout::pipe, harness::image_path(image));
    ASSERT_TRUE(here.started && moved.started) << image;
    // 90 to 94 are the runner's own failures: no copy, not loaded, not moved, entry returned.
    EXPECT_TRUE(moved.exit_code < 90 || moved.exit_code > 94) << image << " " << moved.exit_code;
    EXPECT_EQ(moved.exit_code, here.exit_code) << image;
    EXPECT_EQ(moved.output, here.output) << image;
  }
}

TEST(ImageLayout, ImagesWithAbsoluteAddressesCarryRelocations) {
  // strdemo and threaddemo start a global string variable pointing into itself.
  for (const char *image : {"strdemo", "threaddemo"}) {
    const auto pe = harness::read_pe(harness::image_path(image));
    ASSERT_TRUE(pe.has_value()) << image;
    EXPECT_GT(pe->relocation_directory_size, 0u) << image;
  }
}

TEST(ImageLayout, UnwindingFromInsideRuntimeRoutinesReachesTheCaller) {
  for (const char *image : {"unwind_call", "unwind_inline"})
    for (const bool moved : {false, true}) {
      const harness::Run run = moved ? harness::run_image("rebase_runner", harness::Stdout::pipe,
                                                          harness::image_path(image))
                                     : harness::run_image(image);
      ASSERT_TRUE(run.started) << image;
      // 0x600 + the number of runtime frames walked through on the way.
      EXPECT_EQ(run.exit_code & ~0xffu, 0x600u)
          << image << " moved " << moved << " exit " << std::hex << run.exit_code;
      EXPECT_GE(run.exit_code & 0xffu, 1u) << image << " moved " << moved;
    }
}

TEST(ImageLayout, HeadersKeepAddressRandomisationAndNoWritableCode) {
  for (const char *image : all_images) {
    const auto pe = harness::read_pe(harness::image_path(image));
    ASSERT_TRUE(pe.has_value()) << image;
    for (const WORD flag :
         {IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA,
          IMAGE_DLLCHARACTERISTICS_NX_COMPAT})
      EXPECT_EQ(pe->dll_characteristics & flag, flag) << image << " flag " << flag;
    EXPECT_GT(pe->exception_directory_size, 0u) << image;
    for (const auto &section : pe->sections) {
      const bool writable = (section.characteristics & IMAGE_SCN_MEM_WRITE) != 0;
      const bool executable = (section.characteristics & IMAGE_SCN_MEM_EXECUTE) != 0;
      EXPECT_FALSE(writable && executable) << image << " " << section.name;
    }
  }
}

} // namespace
