// Heap blocks and raw memory routines, on both tiers.
#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <string>
#include <vector>

#include "heap_block.h"
#include "rtlib.h"

namespace {

bool all_zero(const void *block, size_t size) {
  const auto *bytes = static_cast<const unsigned char *>(block);
  for (size_t i = 0; i < size; ++i)
    if (bytes[i] != 0)
      return false;
  return true;
}

TEST(Alloc, ZeroFilledBlockOfTheExactSize) {
  for (uint64_t size :
       {uint64_t{0}, uint64_t{1}, uint64_t{64}, uint64_t{4096}, uint64_t{1} << 20}) {
    void *block = rt_alloc(size);
    ASSERT_NE(block, nullptr) << size;
    EXPECT_TRUE(all_zero(block, size)) << size;
    EXPECT_HEAP_BLOCK_SIZE(block, size);
    EXPECT_NE(rt_free(block), 0);
  }
}

TEST(Realloc, NullBlockIsAnAllocation) {
  void *block = rt_realloc(nullptr, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(all_zero(block, 16));
  EXPECT_HEAP_BLOCK_SIZE(block, 16);
  EXPECT_NE(rt_free(block), 0);
}

TEST(Realloc, GrowingKeepsTheBytesAndZeroesTheRest) {
  auto *block = static_cast<unsigned char *>(rt_alloc(16));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 16; ++i)
    block[i] = static_cast<unsigned char>(0xA0 + i);
  auto *grown = static_cast<unsigned char *>(rt_realloc(block, 32));
  ASSERT_NE(grown, nullptr);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(grown[i], 0xA0 + i);
  EXPECT_TRUE(all_zero(grown + 16, 16));
  auto *shrunk = static_cast<unsigned char *>(rt_realloc(grown, 4));
  ASSERT_NE(shrunk, nullptr);
  EXPECT_EQ(shrunk[3], 0xA3);
  EXPECT_HEAP_BLOCK_SIZE(shrunk, 4);
  EXPECT_NE(rt_free(shrunk), 0);
}

TEST(Free, NullIsZeroAndALiveBlockIsReleased) {
  EXPECT_EQ(rt_free(nullptr), 0);
  void *block = rt_alloc(8);
  EXPECT_NE(rt_free(block), 0);
}

// rt_copy_bytes must give what a forward byte loop gives, for every way the ranges can lie.
TEST(CopyBytes, SameResultAsAForwardByteLoop) {
  const size_t size = 512;
  const struct {
    size_t destination, source, count;
  } cases[] = {
      {0, 128, 100}, // apart
      {128, 0, 100}, // apart
      {10, 0, 100},  // destination inside the source, above its start: leading bytes repeat
      {1, 0, 200},   // one byte repeats
      {3, 0, 250},   // period 3, count not a multiple
      {99, 0, 100},  // overlaps by one byte
      {0, 10, 100},  // destination below the source: a plain move
      {0, 1, 255},   // .
      {50, 50, 100}, // the same range
      {100, 0, 100}, // touching, not overlapping
      {0, 100, 100}, // touching, the destination below
      {200, 0, 200}, // touching, longer than the copy done in pieces
      {0, 200, 200}, // .
      {0, 99, 100},  // overlapping by one byte, the destination below
      {7, 6, 1},     // one byte, touching
      {6, 6, 1},     // one byte onto itself
      {20, 0, 0},    // nothing
      {0, 0, 0},     // nothing, onto itself
  };
  for (const auto &c : cases) {
    std::vector<unsigned char> expected(size), actual(size);
    std::iota(expected.begin(), expected.end(), 1);
    actual = expected;
    for (size_t i = 0; i < c.count; ++i)
      expected[c.destination + i] = expected[c.source + i];
    void *result = rt_copy_bytes(actual.data() + c.destination, actual.data() + c.source, c.count);
    EXPECT_EQ(result, actual.data() + c.destination);
    EXPECT_EQ(actual, expected) << c.destination << " " << c.source << " " << c.count;
  }
}

// Counts on both sides of each size where the copy changes its way of working: separate ranges
// copied in 16-byte pieces from 16 to 128 bytes, overlapping ones byte by byte up to 64 bytes.
// Every byte around the destination is checked, so a piece written one place too far shows.
TEST(CopyBytes, CountsAroundEachThreshold) {
  const size_t size = 600;
  const size_t counts[] = {1, 15, 16, 17, 31, 32, 33, 47, 48, 63, 64, 65, 100, 127, 128, 129, 200};
  const struct {
    size_t destination, source;
  } places[] = {
      {300, 3}, // apart, neither aligned
      {5, 300}, // apart, destination below
      {256, 0}, // apart, both aligned
      {21, 20}, // destination one above the source
      {27, 20}, // seven above
      {36, 20}, // sixteen above
      {83, 20}, // sixty-three above
      {20, 27}, // destination below an overlapping source
  };
  for (const auto &place : places)
    for (const size_t count : counts) {
      std::vector<unsigned char> expected(size), actual(size);
      for (size_t i = 0; i < size; ++i)
        expected[i] = static_cast<unsigned char>(i * 7 + 1);
      actual = expected;
      for (size_t i = 0; i < count; ++i)
        expected[place.destination + i] = expected[place.source + i];
      void *result =
          rt_copy_bytes(actual.data() + place.destination, actual.data() + place.source, count);
      EXPECT_EQ(result, actual.data() + place.destination);
      EXPECT_EQ(actual, expected) << place.destination << " " << place.source << " " << count;
    }
}

TEST(CopyBytes, ZeroCountTouchesNothing) {
  EXPECT_EQ(rt_copy_bytes(nullptr, nullptr, 0), nullptr);
}

TEST(PeekPoke, BytesAreUnsignedAndOnlyTheLowEightBitsAreStored) {
  unsigned char bytes[3] = {0xFF, 0x00, 0x7F};
  EXPECT_EQ(rt_peek_byte(&bytes[0]), 255);
  EXPECT_EQ(rt_peek_byte(&bytes[1]), 0);
  EXPECT_EQ(rt_peek_byte(&bytes[2]), 127);
  EXPECT_EQ(rt_poke_byte(&bytes[1], 0x1234), 0);
  EXPECT_EQ(bytes[1], 0x34);
  EXPECT_EQ(rt_poke_byte(&bytes[1], -1), 0);
  EXPECT_EQ(bytes[1], 0xFF);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[2], 0x7F);
}

TEST(TerminateAt, NulAtTheDifferenceWhenNotBelow) {
  const struct {
    uint64_t first, second;
    int at; // -1: nothing stored
  } cases[] = {{3, 7, 4},           {7, 3, -1}, {5, 5, 0}, {0, 9, 9}, {UINT64_MAX, UINT64_MAX, 0},
               {UINT64_MAX, 0, -1}, {1, 0, -1}};
  for (const auto &c : cases) {
    char buffer[11] = "abcdefghij";
    rt_terminate_at(buffer, c.first, c.second);
    std::string expected = "abcdefghij";
    if (c.at >= 0)
      expected[static_cast<size_t>(c.at)] = '\0';
    EXPECT_EQ(std::string(buffer, 10), expected) << c.first << " " << c.second;
  }
}

TEST(Accessors, ViewWordsIdentityZeroNop) {
  char text[] = "xyz";
  const StrView view{text, 3};
  EXPECT_EQ(rt_view_data(&view), text);
  EXPECT_EQ(rt_view_length(&view), 3u);
  RtString record{text, UINT64_MAX, 1, 1};
  EXPECT_EQ(rt_view_length(reinterpret_cast<StrView *>(&record)), UINT64_MAX);
  for (int64_t v : {int64_t{0}, int64_t{-1}, INT64_MIN, INT64_MAX})
    EXPECT_EQ(rt_identity(v), v);
  EXPECT_EQ(rt_zero(), 0);
  EXPECT_EQ(rt_zero(1, 2, 3, 4, 5, 6), 0);
  rt_nop();
  rt_nop(1, "x", 2.5);
}

TEST(SetEnd, OnlyShortensAndAlwaysReturnsTheCount) {
  const struct {
    uint64_t length, count;
    bool stored;
  } cases[] = {{5, 3, true},  {5, 5, true}, {5, 0, true},
               {5, 6, false}, {0, 0, true}, {5, UINT64_MAX, false}};
  for (const auto &c : cases) {
    char text[8] = "abcdefg";
    StrView record{text, c.length};
    EXPECT_EQ(rt_set_end(text, c.count, &record), c.count);
    EXPECT_EQ(record.length, c.stored ? c.count : c.length);
    EXPECT_EQ(std::string(text, 7), c.stored ? std::string("abcdefg").replace(c.count, 1, 1, '\0')
                                             : std::string("abcdefg"));
  }
}

TEST(MoveAt, OverlapSafeMoveToBufferPlusOffset) {
  char buffer[16] = "0123456789";
  EXPECT_EQ(rt_move_at(buffer, 2, buffer, 5), buffer + 2);
  EXPECT_EQ(std::string(buffer, 10), "0101234789");
  char down[16] = "0123456789";
  EXPECT_EQ(rt_move_at(down, 0, down + 3, 4), down);
  EXPECT_EQ(std::string(down, 10), "3456456789");
  char other[4] = "xyz";
  EXPECT_EQ(rt_move_at(down, 7, other, 3), down + 7);
  EXPECT_EQ(std::string(down, 10), "3456456xyz");
  EXPECT_EQ(rt_move_at(down, 1, other, 0), down + 1);
  EXPECT_EQ(std::string(down, 10), "3456456xyz");
}

} // namespace
