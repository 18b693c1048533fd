// minimal against the recording stand-in: one GetStdHandle, then ExitProcess(0); no fill, no
// allocation, no handler, no CloseHandle, with or without a standard output.
#include <gtest/gtest.h>

#include "stand_in.h"

extern "C" void minimal_main(void);

namespace {

TEST(Minimal, TakesTheHandleAndEndsWith0) {
  for (HANDLE out : {standin::stdout_handle, static_cast<HANDLE>(nullptr), INVALID_HANDLE_VALUE}) {
    standin::reset();
    standin::set_stdout(out);
    EXPECT_EQ(standin::run_until_exit([] { minimal_main(); }), std::optional<UINT>(0));
    const auto &calls = standin::calls();
    ASSERT_EQ(standin::call_names(), (std::vector<std::string>{"GetStdHandle", "ExitProcess"}));
    EXPECT_EQ(calls[0].args, std::vector<uint64_t>{STD_OUTPUT_HANDLE});
    EXPECT_EQ(calls[1].args, std::vector<uint64_t>{0});
  }
}

} // namespace
