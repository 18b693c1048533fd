// Start-up, exit codes and fault handlers on the real platform.
#include <gtest/gtest.h>
#include <windows.h>

#include "harness.h"
#include "rtlib.h"

namespace {

TEST(ExitCodes, FullWidthOfTheMainResult) {
  const struct {
    const char *image;
    uint32_t code;
  } cases[] = {
      {"exit_minus_one", 4294967295u},
      {"exit_wide", 5},
      {"fatal_exit", 252},
      {"greeting", 0},
  };
  for (const auto &c : cases) {
    const harness::Run run = harness::run_image(c.image);
    ASSERT_TRUE(run.started) << c.image;
    EXPECT_EQ(run.exit_code, c.code) << c.image;
    EXPECT_EQ(run.output.empty(), std::string(c.image) != "greeting") << c.image;
  }
}

// The platform's own exception record reaches the handlers: a vectored handler placed first
// hands them the real pointers, then resumes after RaiseException.
struct Seen {
  RtDisposition plain = 99, stack = 99;
  DWORD code = 0;
};
Seen seen;

LONG WINAPI forward(PEXCEPTION_POINTERS info) {
  seen.code = info->ExceptionRecord->ExceptionCode;
  seen.plain = rt_fault_handler(info);
  seen.stack = rt_stack_fault_handler(info);
  return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(FaultHandlers, DispositionsForRealExceptionRecords) {
  const struct {
    DWORD code;
    RtDisposition plain, stack;
  } cases[] = {
      {STATUS_STACK_OVERFLOW, EXCEPTION_CONTINUE_SEARCH, EXCEPTION_CONTINUE_EXECUTION},
      {STATUS_ACCESS_VIOLATION, EXCEPTION_CONTINUE_SEARCH, EXCEPTION_CONTINUE_SEARCH},
  };
  PVOID registration = AddVectoredExceptionHandler(1, forward);
  ASSERT_NE(registration, nullptr);
  for (const auto &c : cases) {
    seen = Seen{};
    RaiseException(c.code, 0, 0, nullptr);
    EXPECT_EQ(seen.code, c.code);
    EXPECT_EQ(seen.plain, c.plain) << std::hex << c.code;
    EXPECT_EQ(seen.stack, c.stack) << std::hex << c.code;
  }
  RemoveVectoredExceptionHandler(registration);
}

} // namespace
