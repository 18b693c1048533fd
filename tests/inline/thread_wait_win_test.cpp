// The wait on the null handle of a failed launch, on the real platform: it must come back
// rather than wait for ever, and close nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <rtlib.h>

namespace {

DWORD WINAPI wait_on_null(void *) {
  rt_thread_wait(nullptr);
  return 7;
}

TEST(ThreadWait, TheNullHandleOfAFailedLaunchComesBack) {
  HANDLE const waiter = CreateThread(nullptr, 0, wait_on_null, nullptr, 0, nullptr);
  ASSERT_NE(waiter, nullptr);
  // Far beyond any scheduling delay; only a wait without end runs into it.
  ASSERT_EQ(WaitForSingleObject(waiter, 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_NE(GetExitCodeThread(waiter, &code), 0);
  EXPECT_EQ(code, 7u);
  CloseHandle(waiter);
}

} // namespace
