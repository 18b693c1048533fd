// The inline-profile images under the real platform: exact output and exit codes with every
// kind of standard output, headers with the main procedure as entry, and the tail each carries.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

using harness::Stdout;

const Stdout all_modes[] = {Stdout::pipe, Stdout::invalid, Stdout::closed, Stdout::null};

TEST(InlinePrograms, OutputAndExitCodeWithEveryKindOfStandardOutput) {
  const struct {
    const char *image;
    const char *output;
    uint32_t exit_code;
  } cases[] = {
      {"strdemo", "", 128},
      {"threaddemo", "a=1 b=2 c=3 d=4 e=5 msg=hello\r\nresult=15\r\nmsg=hello\r\n", 0},
      {"minimal", "", 0},
  };
  for (const auto &c : cases)
    for (Stdout mode : all_modes) {
      const harness::Run run = harness::run_image(c.image, mode);
      ASSERT_TRUE(run.started) << c.image;
      EXPECT_EQ(run.exit_code, c.exit_code) << c.image << " mode " << static_cast<int>(mode);
      if (mode == Stdout::pipe) {
        EXPECT_EQ(run.output, c.output) << c.image;
      }
    }
}

TEST(InlinePrograms, ThreaddemoWritesExactly53Bytes) {
  const harness::Run run = harness::run_image("threaddemo");
  EXPECT_EQ(run.output.size(), 53u);
}

TEST(InlinePrograms, HeadersWithTheMainProcedureAsEntry) {
  const struct {
    const char *image, *entry;
  } cases[] = {
      {"strdemo", "strdemo_main"}, {"threaddemo", "threaddemo_main"}, {"minimal", "minimal_main"}};
  for (const auto &c : cases) {
    const auto pe = harness::read_pe(harness::image_path(c.image));
    ASSERT_TRUE(pe.has_value()) << c.image;
    EXPECT_EQ(pe->subsystem, 3) << c.image; // console
    EXPECT_EQ(pe->stack_reserve, 0x100000u) << c.image;
    EXPECT_EQ(pe->stack_commit, 0x1000u) << c.image;
    EXPECT_EQ(pe->heap_reserve, 0x100000u) << c.image;
    const auto map = harness::read_map(harness::image_dir_file(std::string(c.image) + ".map"));
    const auto entry = harness::map_address(map, c.entry);
    ASSERT_TRUE(entry.has_value()) << c.image;
    EXPECT_EQ(pe->image_base + pe->entry_rva, *entry) << c.image;
    for (const char *other : {"rt_start", "mainCRTStartup", "__tmainCRTStartup", "__main"})
      EXPECT_FALSE(harness::map_address(map, other).has_value()) << c.image << " " << other;
    for (const std::string &import : pe->imports)
      EXPECT_EQ(import.find("getmainargs"), std::string::npos) << c.image;
  }
}

// Each image carries exactly its tail, and the call-profile images none of it.
TEST(InlinePrograms, EachImageCarriesExactlyItsTail) {
  const char *routines[] = {"rt_stack_fault_handler", "rt_print_int",    "rt_like",
                            "rt_like_match",          "rt_window_proc",  "rt_window_proc_plain",
                            "rt_print_line",          "rt_fault_handler"};
  const struct {
    const char *image;
    bool carries[8];
  } cases[] = {
      {"strdemo", {true, true, true, true, true, false, false, false}},
      {"threaddemo", {true, true, true, true, true, false, false, false}},
      {"minimal", {false, false, true, true, false, true, false, false}},
      {"parity", {false, true, false, false, false, false, true, true}},
      {"greeting", {false, true, false, false, false, false, true, true}},
  };
  for (const auto &c : cases) {
    const auto map = harness::read_map(harness::image_dir_file(std::string(c.image) + ".map"));
    ASSERT_FALSE(map.empty()) << c.image;
    for (size_t i = 0; i < 8; ++i)
      EXPECT_EQ(harness::map_address(map, routines[i]).has_value(), c.carries[i])
          << c.image << " " << routines[i];
  }
}

TEST(InlinePrograms, MinimalImportsNothingFromTheCRuntime) {
  const auto pe = harness::read_pe(harness::image_path("minimal"));
  ASSERT_TRUE(pe.has_value());
  EXPECT_FALSE(pe->imports.empty());
  for (const std::string &dll : pe->import_dlls)
    EXPECT_TRUE(dll == "kernel32.dll" || dll == "user32.dll") << dll;
  // No fault handler registration either.
  for (const std::string &import : pe->imports)
    EXPECT_EQ(import.find("AddVectoredExceptionHandler"), std::string::npos) << import;
}

TEST(InlinePrograms, UnusedClassNamesAreInTheReadOnlyData) {
  const struct {
    const char *image;
    bool gui, gfx;
  } cases[] = {{"strdemo", true, true}, {"threaddemo", true, true}, {"minimal", true, false}};
  for (const auto &c : cases) {
    const auto bytes = harness::read_file(harness::image_path(c.image));
    ASSERT_TRUE(bytes.has_value()) << c.image;
    EXPECT_EQ(bytes->find(std::string("QELDAR_GUI\0", 11)) != std::string::npos, c.gui) << c.image;
    EXPECT_EQ(bytes->find(std::string("QELDAR_GFX\0", 11)) != std::string::npos, c.gfx) << c.image;
  }
}

} // namespace
