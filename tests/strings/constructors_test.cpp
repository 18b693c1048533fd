// Records made by the constructors: exact shapes, texts and terminators, on both tiers.
#include <gtest/gtest.h>

#include <climits>

#include "text_support.h"

namespace {

TEST(StrNew, BothNamesGiveAnEmpty64ByteRecord) {
  for (RtString *(*make)() : {rt_str_new, rt_str_empty}) {
    Owned r(make());
    EXPECT_TRUE(fixed_record_holds(r.get(), 64, 32, ""));
    EXPECT_EQ(r->data[0], 0);
  }
}

TEST(StrFromChar, LowEightBitsOfTheCode) {
  const struct {
    int64_t code;
    std::string text;
  } cases[] = {
      {65, "A"},
      {321, "A"},
      {233, "\xE9"},
      {-1, "\xFF"},
      {0, std::string(1, '\0')},
      {INT64_MIN, std::string(1, '\0')},
  };
  for (const auto &c : cases) {
    Owned r(rt_str_from_char(c.code));
    EXPECT_TRUE(fixed_record_holds(r.get(), 64, 32, c.text)) << c.code;
    EXPECT_EQ(r->data[1], 0) << c.code;
  }
}

TEST(StrFromChar, NulCharacterLeavesAnEmptyTerminatedView) {
  Owned r(rt_str_from_char(0));
  EXPECT_EQ(r->length, 1u);
  EXPECT_EQ(strlen(r->data), 0u);
}

TEST(StrFromInt, DecimalText) {
  const struct {
    int64_t value;
    const char *text;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {-1, "-1"},
      {1234567890123, "1234567890123"},
      {INT64_MAX, "9223372036854775807"},
      {INT64_MIN, "-9223372036854775808"},
  };
  for (const auto &c : cases) {
    Owned r(rt_str_from_int(c.value));
    EXPECT_TRUE(fixed_record_holds(r.get(), 64, 32, c.text)) << c.value;
  }
}

TEST(StrBinOct, DigitsOfTheUnsignedPattern) {
  const struct {
    RtString *(*make)(uint64_t);
    uint64_t value;
    std::string text;
  } cases[] = {
      {rt_str_bin, 0, "0"},
      {rt_str_bin, 1, "1"},
      {rt_str_bin, 5, "101"},
      {rt_str_bin, UINT64_MAX, std::string(64, '1')},
      {rt_str_bin, uint64_t{1} << 63, "1" + std::string(63, '0')},
      {rt_str_oct, 0, "0"},
      {rt_str_oct, 8, "10"},
      {rt_str_oct, 0777, "777"},
      {rt_str_oct, UINT64_MAX, "1777777777777777777777"},
      {rt_str_oct, uint64_t{1} << 63, "1000000000000000000000"},
  };
  for (const auto &c : cases) {
    Owned r(c.make(c.value));
    EXPECT_TRUE(fixed_record_holds(r.get(), 104, 72, c.text)) << c.value;
  }
}

TEST(StrBlank, FourZeroWordsOnly) {
  Owned r(rt_str_blank());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->data, nullptr);
  EXPECT_EQ(r->length, 0u);
  EXPECT_EQ(r->capacity, 0u);
  EXPECT_EQ(r->inline_flag, 0u);
  EXPECT_HEAP_BLOCK_SIZE(r.get(), 32);
}

TEST(StrConcat, JoinsByLengthIntoASeparateBlock) {
  const struct {
    std::string first, second;
  } cases[] = {
      {"", ""},
      {"ab", std::string("c\0d", 3)},
      {"Hello, ", "World!"},
      {std::string(1, '\0'), ""},
      {"", "x"},
      {std::string(300, 'q'), std::string(5, '\0')},
  };
  for (const auto &c : cases) {
    Text first(c.first), second(c.second);
    Owned record(rt_str_blank());
    ASSERT_EQ(rt_str_concat(record.get(), first.v(), second.v()), 0);
    Owned text(record->data);
    const std::string joined = c.first + c.second;
    EXPECT_EQ(text_of(record.get()), joined);
    EXPECT_EQ(record->capacity, joined.size());
    EXPECT_EQ(record->inline_flag, 0u);
    EXPECT_EQ(record->data[joined.size()], 0);
    EXPECT_HEAP_BLOCK_SIZE(record->data, joined.size() + 1);
  }
}

TEST(StrConcat, DestinationMayAlsoBeASource) {
  Owned r(rt_str_new());
  Text tail("def");
  RtString *first = r.get();
  Owned old(nullptr);
  ASSERT_EQ(rt_str_concat(r.get(), reinterpret_cast<StrView *>(first), tail.v()), 0);
  Owned text(r->data);
  EXPECT_EQ(text_of(r.get()), "def");
  ASSERT_EQ(rt_str_concat(r.get(), reinterpret_cast<StrView *>(first),
                          reinterpret_cast<StrView *>(first)),
            0);
  Owned text2(r->data);
  EXPECT_EQ(text_of(r.get()), "defdef");
}

TEST(StrDup, CopiesByLengthOrGivesNullWhenEmpty) {
  Text empty("");
  EXPECT_EQ(rt_str_dup(empty.v()), nullptr);
  for (const std::string &s :
       {std::string("a"), std::string("abc"), std::string("x\0y", 3), std::string(1000, 'z')}) {
    Text source(s);
    Owned r(rt_str_dup(source.v()));
    EXPECT_TRUE(sized_record_holds(r.get(), s));
    EXPECT_NE(r->data, source.view.data);
  }
}

} // namespace
