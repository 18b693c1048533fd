// Start-up, exit and fault handlers against the recording stand-in.
#include <gtest/gtest.h>

#include "rtlib.h"
#include "stand_in.h"

namespace {
int64_t main_result = 0;
bool main_ran = false;
} // namespace

extern "C" int64_t program_main(void) {
  // The handler is registered before the main procedure runs.
  EXPECT_EQ(standin::call_names(), std::vector<std::string>{"AddVectoredExceptionHandler"});
  main_ran = true;
  return main_result;
}

namespace {

using standin::word;

TEST(Start, RegistersHandlerCallsMainAndExitsWithLow32Bits) {
  const struct {
    int64_t result;
    UINT code;
  } cases[] = {
      {0, 0}, {-1, 4294967295u}, {0x100000005, 5}, {INT64_MIN, 0}, {0x7FFFFFFF, 0x7FFFFFFF}};
  for (const auto &c : cases) {
    standin::reset();
    main_result = c.result;
    main_ran = false;
    const auto code = standin::run_until_exit([] { rt_start(); });
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, c.code) << c.result;
    EXPECT_TRUE(main_ran);
    const auto &calls = standin::calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args, (std::vector<uint64_t>{0, word(&rt_fault_handler)}));
    EXPECT_EQ(calls[1].name, "ExitProcess");
  }
}

TEST(FatalExit, EndsWith252) {
  standin::reset();
  EXPECT_EQ(standin::run_until_exit([] { rt_fatal_exit(); }), std::optional<UINT>(252));
  EXPECT_EQ(standin::call_names(), std::vector<std::string>{"ExitProcess"});
}

TEST(FatalExit, EndsTheRealProcessWith252) {
  EXPECT_EXIT(rt_fatal_exit(), testing::ExitedWithCode(252), "");
}

struct Disposition {
  DWORD code;
  LONG plain, stack;
  bool resets;
};

TEST(FaultHandlers, Dispositions) {
  const Disposition cases[] = {
      {STATUS_STACK_OVERFLOW, 0, -1, true},
      {STATUS_ACCESS_VIOLATION, 0, 0, false},
      {0xC0000094u, 0, 0, false}, // integer divide by zero
      {0x80000003u, 0, 0, false}, // breakpoint
  };
  for (const auto &c : cases) {
    EXCEPTION_RECORD record{};
    record.ExceptionCode = c.code;
    EXCEPTION_POINTERS pointers{&record, nullptr};
    standin::reset();
    EXPECT_EQ(rt_fault_handler(&pointers), c.plain) << std::hex << c.code;
    EXPECT_TRUE(standin::calls().empty());
    EXPECT_EQ(rt_stack_fault_handler(&pointers), c.stack) << std::hex << c.code;
    EXPECT_EQ(standin::call_names(),
              c.resets ? std::vector<std::string>{"_resetstkoflw"} : std::vector<std::string>{});
  }
}

TEST(FaultHandlers, PlainHandlerNeverReadsItsArgument) {
  EXPECT_EQ(rt_fault_handler(nullptr), 0);
}

} // namespace
