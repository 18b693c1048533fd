// The wildcard matcher inside a reduced inline-profile image on the real platform: it gives
// its results there and needs nothing from the C runtime or any other library.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

TEST(LikeImage, MatchesAndImportsNothingForIt) {
  const harness::Run run = harness::run_image("like_tail");
  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.exit_code, 0x33u); // cases 0, 1, 4 and 5 match
  EXPECT_TRUE(run.output.empty());

  const auto pe = harness::read_pe(harness::image_path("like_tail"));
  ASSERT_TRUE(pe.has_value());
  // The image's own code imports ExitProcess; the matcher adds nothing from kernel32 and
  // nothing from any C runtime (the rest of the reduced tail may use user32).
  for (const std::string &import : pe->imports)
    if (import.rfind("kernel32.dll!", 0) == 0) {
      EXPECT_EQ(import, "kernel32.dll!ExitProcess");
    }
  for (const std::string &dll : pe->import_dlls)
    for (const char *crt : {"msvcr", "ucrt", "api-ms-win-crt"})
      EXPECT_EQ(dll.find(crt), std::string::npos) << dll;

  const auto map = harness::read_map(harness::image_dir_file("like_tail.map"));
  for (const char *routine : {"rt_like", "rt_like_match"})
    EXPECT_TRUE(harness::map_address(map, routine).has_value()) << routine;
}

} // namespace
