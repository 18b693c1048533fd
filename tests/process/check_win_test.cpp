// The checked runtime on the real platform: every case of check_breaker (one broken contract
// each, linked with librtlib-checked.a) ends with RT_EXIT_CHECK and one report line on
// standard error that names the routine and the argument, says what is wrong, and gives the
// call site inside the function that broke the contract.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "harness.h"
#include "rtlib.h"

namespace {

struct Case {
  std::string name, reported, says;
};

std::vector<Case> breaker_cases() {
  const harness::Run run = harness::run_image("check_breaker", harness::Stdout::pipe, "list");
  std::vector<Case> cases;
  std::istringstream lines(run.output);
  Case c;
  while (std::getline(lines, c.name) && std::getline(lines, c.reported) &&
         std::getline(lines, c.says)) {
    for (std::string *s : {&c.name, &c.reported, &c.says})
      if (!s->empty() && s->back() == '\r')
        s->pop_back();
    cases.push_back(c);
  }
  return cases;
}

// The address range of a function of the image: from its symbol to the next symbol above it.
struct Range {
  uint64_t begin = 0, end = 0;
};
Range function_range(const std::vector<harness::MapSymbol> &map, const std::string &name) {
  Range r;
  const auto begin = harness::map_address(map, name);
  if (!begin)
    return r;
  r.begin = *begin;
  r.end = UINT64_MAX;
  for (const auto &s : map)
    if (s.address > r.begin && s.address < r.end)
      r.end = s.address;
  return r;
}

// The offset of the call site that ends a report line, or nothing when the line does not end
// with one of this image.
std::optional<uint64_t> site_offset(const std::string &line) {
  static const std::regex site("; called at check_breaker\\.exe\\+0x([0-9a-f]+)\r?\n$");
  std::smatch m;
  if (!std::regex_search(line, m, site))
    return std::nullopt;
  return std::stoull(m[1].str(), nullptr, 16);
}

// The byte of the image file at a relative virtual address, or -1 outside its sections.
int image_byte(const harness::PeInfo &pe, const std::string &image, uint64_t rva) {
  for (const auto &section : pe.sections)
    if (rva >= section.rva && rva < uint64_t{section.rva} + section.size)
      return static_cast<unsigned char>(image[section.file_offset + (rva - section.rva)]);
  return -1;
}

TEST(CheckedRuntime, EveryBrokenContractIsReportedWithItsCallSite) {
  const auto cases = breaker_cases();
  ASSERT_GE(cases.size(), 60u);
  const auto pe = harness::read_pe(harness::image_path("check_breaker"));
  ASSERT_TRUE(pe);
  const auto image = harness::read_file(harness::image_path("check_breaker"));
  ASSERT_TRUE(image);
  const auto map = harness::read_map(harness::image_dir_file("check_breaker.map"));
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const harness::Run run = harness::run_image("check_breaker", harness::Stdout::pipe, c.name);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exit_code, RT_EXIT_CHECK);
    EXPECT_EQ(run.output, "");
    // One line: "rtlib check: <routine>: <argument>: ...<what>...; called at <site>".
    const std::string argument =
        c.name.substr(c.name.find('.') + 1, c.name.rfind('.') - c.name.find('.') - 1);
    const std::string head = "rtlib check: " + c.reported + ": " + argument + ": ";
    EXPECT_EQ(run.errors.compare(0, head.size(), head), 0) << run.errors;
    EXPECT_NE(run.errors.find(c.says), std::string::npos) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
    const auto offset = site_offset(run.errors);
    ASSERT_TRUE(offset) << run.errors;
    std::string function = "break_" + c.name;
    std::replace(function.begin(), function.end(), '.', '_');
    const Range r = function_range(map, function);
    ASSERT_NE(r.begin, 0u) << function;
    EXPECT_GE(pe->image_base + *offset, r.begin) << run.errors;
    EXPECT_LT(pe->image_base + *offset, r.end) << run.errors;
    // The site is the last byte of the call instruction (a direct call, E8 and a 32-bit
    // displacement), which ends at the return address.
    EXPECT_EQ(image_byte(*pe, *image, *offset - 4), 0xE8) << run.errors;
  }
}

TEST(CheckedRuntime, ExitChecksGuardBytesAndReportsLeaksOnRequest) {
  const harness::Run overrun =
      harness::run_image("check_breaker", harness::Stdout::pipe, "exit.overrun");
  EXPECT_EQ(overrun.exit_code, RT_EXIT_CHECK);
  EXPECT_EQ(overrun.errors.rfind("rtlib check: rt_start: a block of rtlib's heap: was written "
                                 "past its end (8 bytes",
                                 0),
            0u)
      << overrun.errors;
  EXPECT_TRUE(site_offset(overrun.errors)) << overrun.errors;

  // Without the variable leaks go unreported; with it, one line and the program's exit code.
  const struct {
    const char *value;
    bool reported;
  } settings[] = {{nullptr, false}, {"0", false}, {"1", true}};
  for (const auto &s : settings) {
    SCOPED_TRACE(s.value == nullptr ? "unset" : s.value);
    SetEnvironmentVariableA("RTLIB_CHECK_LEAKS", s.value);
    const harness::Run run =
        harness::run_image("check_breaker", harness::Stdout::pipe, "exit.leaks");
    EXPECT_EQ(run.exit_code, 7u);
    if (!s.reported) {
      EXPECT_EQ(run.errors, "");
      continue;
    }
    static const std::regex leaks(
        "rtlib check: 3 blocks \\(110 bytes\\) still live at exit; made first by rt_alloc at "
        "check_breaker\\.exe\\+0x[0-9a-f]+, by rt_str_dup at check_breaker\\.exe\\+0x[0-9a-f]+, "
        "by rt_str_empty at check_breaker\\.exe\\+0x[0-9a-f]+\r?\n");
    EXPECT_TRUE(std::regex_match(run.errors, leaks)) << run.errors;
  }
  SetEnvironmentVariableA("RTLIB_CHECK_LEAKS", nullptr);
}

} // namespace
