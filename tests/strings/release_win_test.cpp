// The release paths the public header promises, on the real process heap: each block given
// back at the address it says, accepted by HeapFree, and the heap still sound afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include "text_support.h"

namespace {

bool heap_sound() {
  return HeapValidate(GetProcessHeap(), 0, nullptr) != 0;
}

// A joined record whose data a trim has moved: its text block goes back at the address the
// join stored, then the record itself.
TEST(Release, TrimmedJoinedRecordGoesBackAtTheJoinedBlock) {
  for (const char *pad : {"   ", " \t\r\n", ""}) {
    Text left(pad), right("words  ");
    RtString *record = rt_str_blank();
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(rt_str_concat(record, left.v(), right.v()), 0);
    char *const block = record->data;
    EXPECT_EQ(rt_str_trim(reinterpret_cast<StrView *>(record)), 0);
    EXPECT_EQ(text_of(record), "words");
    EXPECT_EQ(record->data, block + strlen(pad));
    EXPECT_NE(rt_free(block), 0) << pad;
    EXPECT_NE(rt_free(record), 0) << pad;
    EXPECT_TRUE(heap_sound()) << pad;
  }
}

// A join into a destination that already held a joined text leaves the old block with the
// caller, who still releases it.
TEST(Release, ARefilledDestinationLeavesItsOldBlockToTheCaller) {
  Text a("abc"), b("def");
  RtString *record = rt_str_blank();
  ASSERT_NE(record, nullptr);
  ASSERT_EQ(rt_str_concat(record, a.v(), b.v()), 0);
  char *const old_block = record->data;
  ASSERT_EQ(rt_str_concat(record, reinterpret_cast<StrView *>(record), a.v()), 0);
  EXPECT_EQ(text_of(record), "abcdefabc");
  EXPECT_NE(record->data, old_block);
  EXPECT_NE(rt_free(old_block), 0);
  EXPECT_NE(rt_free(record->data), 0);
  EXPECT_NE(rt_free(record), 0);
  EXPECT_TRUE(heap_sound());
}

// A repeat block is a bare heap block, released at its own address, the empty one included.
TEST(Release, RepeatBlocksGoBackAtTheirAddressEvenWhenEmpty) {
  Text abc("abc"), empty("");
  const struct {
    StrView *text;
    uint64_t count;
  } cases[] = {{abc.v(), 3}, {abc.v(), 0}, {empty.v(), 5}};
  for (const auto &c : cases) {
    void *const block = rt_str_repeat(c.text, c.count);
    ASSERT_NE(block, nullptr) << c.count;
    EXPECT_NE(rt_free(block), 0) << c.count;
  }
  EXPECT_TRUE(heap_sound());
}

} // namespace
