// Heap routines on the real platform: blocks of the process heap, failure as null.
#include <gtest/gtest.h>
#include <windows.h>

#include "rtlib.h"

namespace {

TEST(ProcessHeap, BlocksBelongToTheProcessHeap) {
  void *block = rt_alloc(100);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, block));
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 100u);
  void *grown = rt_realloc(block, 5000);
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, grown), 5000u);
  EXPECT_NE(rt_free(grown), 0);
}

TEST(ProcessHeap, RequestsTooLargeToSatisfyGiveNull) {
  const uint64_t huge = uint64_t{1} << 62;
  EXPECT_EQ(rt_alloc(huge), nullptr);
  EXPECT_EQ(rt_alloc(UINT64_MAX), nullptr);
  EXPECT_EQ(rt_realloc(nullptr, huge), nullptr);
  auto *block = static_cast<char *>(rt_alloc(8));
  ASSERT_NE(block, nullptr);
  block[7] = 'z';
  EXPECT_EQ(rt_realloc(block, huge), nullptr);
  EXPECT_EQ(block[7], 'z'); // the old block stays valid and unchanged
  EXPECT_EQ(HeapSize(GetProcessHeap(), 0, block), 8u);
  EXPECT_NE(rt_free(block), 0);
}

TEST(ProcessHeap, ManyThreadsAllocateAtOnce) {
  const auto worker = [](LPVOID) -> DWORD {
    for (int i = 0; i < 2000; ++i) {
      auto *block = static_cast<unsigned char *>(rt_alloc(static_cast<uint64_t>(i % 97 + 1)));
      if (block == nullptr || block[i % 97] != 0)
        return 1;
      block[0] = 1;
      block = static_cast<unsigned char *>(rt_realloc(block, 200));
      if (block == nullptr || block[0] != 1 || block[199] != 0 || rt_free(block) == 0)
        return 1;
    }
    return 0;
  };
  HANDLE threads[4];
  for (HANDLE &t : threads)
    t = CreateThread(nullptr, 0, worker, nullptr, 0, nullptr);
  WaitForMultipleObjects(4, threads, TRUE, INFINITE);
  for (HANDLE t : threads) {
    DWORD code = 99;
    GetExitCodeThread(t, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(t);
  }
}

} // namespace
