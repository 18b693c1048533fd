// Platform calls of the heap routines, recorded by the stand-in.
#include <gtest/gtest.h>

#include "rtlib.h"
#include "stand_in_strings.h"

namespace {

using standin::Names;
using standin::word;
using Args = std::vector<uint64_t>;

void fresh() {
  standin::reset();
  standin::reset_heap();
}

TEST(HeapCalls, AllocFetchesTheHeapThenOneZeroingAlloc) {
  fresh();
  void *block = rt_alloc(48);
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapAlloc"}));
  EXPECT_EQ(standin::calls()[1].args, (Args{word(standin::process_heap), 8, 48}));
  fresh();
  EXPECT_NE(rt_free(block), 0);
  ASSERT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapFree"}));
  EXPECT_EQ(standin::calls()[1].args, (Args{word(standin::process_heap), 0, word(block)}));
}

TEST(HeapCalls, SizesReachThePlatformWhole) {
  for (uint64_t size : {(uint64_t{1} << 32) + 5, UINT64_MAX}) {
    fresh();
    EXPECT_EQ(rt_alloc(size), nullptr) << size; // above the stand-in's limit
    EXPECT_EQ(standin::calls()[1].args[2], size);
  }
}

TEST(HeapCalls, ReallocOfNullIsExactlyAnAlloc) {
  fresh();
  void *block = rt_realloc(nullptr, 16);
  ASSERT_NE(block, nullptr);
  ASSERT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapAlloc"}));
  EXPECT_EQ(standin::calls()[1].args, (Args{word(standin::process_heap), 8, 16}));
  rt_free(block);
}

TEST(HeapCalls, ReallocPassesFlagEightBlockAndSizeEvenZero) {
  for (uint64_t size : {uint64_t{40}, uint64_t{0}}) {
    void *block = rt_alloc(8);
    fresh();
    void *moved = rt_realloc(block, size);
    ASSERT_NE(moved, nullptr);
    ASSERT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapReAlloc"}));
    EXPECT_EQ(standin::calls()[1].args, (Args{word(standin::process_heap), 8, word(block), size}));
    EXPECT_EQ(standin::heap_block_size(moved), std::optional<uint64_t>(size));
    EXPECT_NE(rt_free(moved), 0);
  }
}

TEST(HeapCalls, FailedReallocLeavesTheOldBlock) {
  auto *block = static_cast<char *>(rt_alloc(4));
  block[0] = 'k';
  fresh();
  standin::script_heap_results({false});
  EXPECT_EQ(rt_realloc(block, 100), nullptr);
  EXPECT_EQ(standin::heap_block_size(block), std::optional<uint64_t>(4));
  EXPECT_EQ(block[0], 'k');
  EXPECT_NE(rt_free(block), 0);
}

TEST(HeapCalls, FreeOfNullMakesNoCall) {
  fresh();
  EXPECT_EQ(rt_free(nullptr), 0);
  EXPECT_TRUE(standin::calls().empty());
}

TEST(HeapCalls, FreeReportsThePlatformFlag) {
  int not_a_block = 0;
  fresh();
  EXPECT_EQ(rt_free(&not_a_block), 0);
  EXPECT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapFree"}));
}

TEST(HeapCalls, FailedAllocIsNullAndNothingElse) {
  fresh();
  standin::script_heap_results({false});
  EXPECT_EQ(rt_alloc(8), nullptr);
  EXPECT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapAlloc"}));
}

// The copy, byte access and accessors never reach the platform.
TEST(HeapCalls, RawMemoryRoutinesMakeNoCall) {
  fresh();
  char a[8] = "abcdefg", b[8] = {};
  StrView view{a, 7};
  rt_copy_bytes(b, a, 7);
  rt_copy_bytes(a + 1, a, 6);
  rt_peek_byte(a);
  rt_poke_byte(a, 1);
  rt_terminate_at(a, 1, 2);
  rt_view_data(&view);
  rt_view_length(&view);
  rt_set_end(a, 1, &view);
  rt_move_at(b, 1, a, 3);
  EXPECT_TRUE(standin::calls().empty());
}

} // namespace
