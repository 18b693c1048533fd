// Platform calls of the string routines, recorded by the stand-in: one zeroing allocation of
// the documented size per record, fallbacks when an allocation fails, no allocation where
// none is due.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "stand_in_strings.h"
#include "text_support.h"

namespace {

using standin::Names;

void fresh() {
  standin::reset();
  standin::reset_heap();
}

// The sizes of the HeapAlloc calls recorded since the last fresh(), each with flag 8.
std::vector<uint64_t> alloc_sizes() {
  std::vector<uint64_t> sizes;
  for (const auto &call : standin::calls())
    if (call.name == "HeapAlloc") {
      EXPECT_EQ(call.args[1], 8u);
      sizes.push_back(call.args[2]);
    }
  return sizes;
}

struct Maker {
  const char *name;
  std::function<void *()> make;
  uint64_t size;
};

TEST(StringAllocations, OneBlockOfTheDocumentedSizeEach) {
  static Text abc("abc"), empty(""), xy("XY"), lo("lo"), hello("hello"), dot("."), dashes("--");
  static Text sentence("a.b.c");
  const Maker makers[] = {
      {"new", [] { return rt_str_new(); }, 64},
      {"empty", [] { return rt_str_empty(); }, 64},
      {"from_char", [] { return rt_str_from_char(65); }, 64},
      {"from_int", [] { return rt_str_from_int(-5); }, 64},
      {"bin", [] { return rt_str_bin(5); }, 104},
      {"oct", [] { return rt_str_oct(5); }, 104},
      {"blank", [] { return rt_str_blank(); }, 32},
      {"find_any", [] { return rt_str_find_any(hello.v(), lo.v()); }, 40},
      {"dup", [] { return rt_str_dup(abc.v()); }, 36},
      {"remove", [] { return rt_str_remove(abc.v(), 2, 1); }, 35},
      {"insert", [] { return rt_str_insert(abc.v(), xy.v(), 2); }, 38},
      {"insert empty", [] { return rt_str_insert(empty.v(), empty.v(), 1); }, 33},
      {"replace", [] { return rt_str_replace(sentence.v(), dot.v(), dashes.v()); }, 40},
      {"repeat", [] { return rt_str_repeat(abc.v(), 4); }, 12},
  };
  for (const Maker &m : makers) {
    fresh();
    Owned r(m.make());
    ASSERT_TRUE(r) << m.name;
    EXPECT_EQ(alloc_sizes(), std::vector<uint64_t>{m.size}) << m.name;
    EXPECT_EQ(standin::heap_block_size(r.block), std::optional<uint64_t>(m.size)) << m.name;
  }
}

TEST(StringAllocations, EveryConstructorGivesNullWhenItsBlockFails) {
  static Text abc("abc"), lo("lo"), hello("hello");
  const Maker makers[] = {
      {"new", [] { return rt_str_new(); }, 0},
      {"empty", [] { return rt_str_empty(); }, 0},
      {"from_char", [] { return rt_str_from_char(65); }, 0},
      {"from_int", [] { return rt_str_from_int(-5); }, 0},
      {"bin", [] { return rt_str_bin(5); }, 0},
      {"oct", [] { return rt_str_oct(5); }, 0},
      {"blank", [] { return rt_str_blank(); }, 0},
      {"find_any", [] { return rt_str_find_any(hello.v(), lo.v()); }, 0},
      {"dup", [] { return rt_str_dup(abc.v()); }, 0},
      {"repeat", [] { return rt_str_repeat(abc.v(), 2); }, 0},
  };
  for (const Maker &m : makers) {
    fresh();
    standin::script_heap_results({false});
    EXPECT_EQ(m.make(), nullptr) << m.name;
    EXPECT_EQ(alloc_sizes().size(), 1u) << m.name;
  }
  // No text to format, no digits written, when there is no block.
  EXPECT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapAlloc"}));
}

TEST(StringAllocations, FromIntFormatsWithI64dAndLimit32) {
  fresh();
  Owned r(rt_str_from_int(INT64_MIN));
  ASSERT_EQ(standin::call_names(), (Names{"GetProcessHeap", "HeapAlloc", "_snprintf"}));
  const auto &call = standin::calls()[2];
  EXPECT_EQ(call.args[0], standin::word(r->data));
  EXPECT_EQ(call.args[1], 32u);
  EXPECT_STREQ(reinterpret_cast<const char *>(call.args[2]), "%I64d");
}

TEST(StringAllocations, ConcatFailureReturnsOneAndKeepsTheDestination) {
  Text a("ab"), b("cd");
  RtString destination{reinterpret_cast<char *>(0x1234), 7, 8, 9};
  fresh();
  standin::script_heap_results({false});
  EXPECT_EQ(rt_str_concat(&destination, a.v(), b.v()), 1);
  EXPECT_EQ(alloc_sizes(), std::vector<uint64_t>{5});
  EXPECT_EQ(destination.data, reinterpret_cast<char *>(0x1234));
  EXPECT_EQ(destination.length, 7u);
  EXPECT_EQ(destination.capacity, 8u);
  EXPECT_EQ(destination.inline_flag, 9u);
}

TEST(StringAllocations, ConcatTotalThatDoesNotFitAllocatesNothing) {
  char byte = 0;
  const StrView huge{&byte, UINT64_MAX - 1}, one{&byte, 1}, max{&byte, UINT64_MAX};
  RtString destination{};
  fresh();
  EXPECT_EQ(rt_str_concat(&destination, &huge, &one), 1);
  EXPECT_EQ(rt_str_concat(&destination, &one, &huge), 1);
  EXPECT_EQ(rt_str_concat(&destination, &max, &one), 1);
  EXPECT_TRUE(alloc_sizes().empty());
  EXPECT_EQ(destination.data, nullptr);
}

// Remove and replace fall back to a copy of the source when their own block fails; when the
// copy fails as well the result is null.
TEST(StringAllocations, EditFallbacksToACopy) {
  static Text source("a.b.c"), dot("."), dashes("--");
  const Maker makers[] = {
      {"remove", [] { return rt_str_remove(source.v(), 2, 1); }, 0},
      {"replace", [] { return rt_str_replace(source.v(), dot.v(), dashes.v()); }, 0},
  };
  for (const Maker &m : makers) {
    fresh();
    standin::script_heap_results({false});
    Owned copy(m.make());
    EXPECT_TRUE(sized_record_holds(copy.get(), "a.b.c")) << m.name;
    EXPECT_EQ(alloc_sizes().size(), 2u) << m.name;
    fresh();
    standin::script_heap_results({false, false});
    EXPECT_EQ(m.make(), nullptr) << m.name;
    fresh();
  }
  Text xy("XY");
  standin::script_heap_results({false});
  EXPECT_EQ(rt_str_insert(source.v(), xy.v(), 1), nullptr);
  EXPECT_EQ(alloc_sizes().size(), 1u);
}

TEST(StringAllocations, SizesThatDoNotFitAllocateNothing) {
  char byte = 'a';
  const StrView huge{&byte, UINT64_MAX - 20}, small{&byte, 40};
  fresh();
  EXPECT_EQ(rt_str_insert(&huge, &small, 1), nullptr);
  EXPECT_EQ(rt_str_dup(&huge), nullptr);
  Text ab("ab");
  EXPECT_EQ(rt_str_repeat(ab.v(), UINT64_MAX / 2 + 1), nullptr);
  EXPECT_TRUE(alloc_sizes().empty());
}

// A replacement whose length word is near the 64-bit limit: the result's length does not fit,
// so nothing of that size is asked for and the result is the fallback copy.
TEST(StringAllocations, ReplaceGrowthThatDoesNotFitFallsBack) {
  char text[] = "aXa";
  const StrView source{text, 3};
  Text x("X"), long_text(std::string(64, 'y'));
  StrView huge_replacement{long_text.view.data, UINT64_MAX - 2};
  fresh();
  Owned copy(rt_str_replace(&source, x.v(), &huge_replacement));
  EXPECT_TRUE(sized_record_holds(copy.get(), "aXa"));
  EXPECT_EQ(alloc_sizes(), std::vector<uint64_t>{36});
}

// Each size guard at its exact boundary asks for the largest block there is, which the heap
// refuses; one past it asks for nothing at all.
TEST(StringAllocations, SizeGuardsAtTheirBoundaries) {
  char text[] = "aXaXX";
  const uint64_t max = UINT64_MAX;
  const StrView x{text + 1, 1}, axa{text, 3}, xx{text + 3, 2};
  const StrView near{text, max - 40}, seven{text, 7}, eight{text, 8};
  const StrView limit{text, max - 33}, past{text, max - 32}, joined{text, max - 2};
  RtString destination{};
  const struct {
    const char *what;
    std::function<void *()> call;
    std::vector<uint64_t> sizes;
  } cases[] = {
      {"insert at the limit", [&] { return rt_str_insert(&near, &seven, 1); }, {max}},
      {"insert one past", [&] { return rt_str_insert(&near, &eight, 1); }, {}},
      {"dup at the limit", [&] { return rt_str_dup(&limit); }, {max}},
      {"dup one past", [&] { return rt_str_dup(&past); }, {}},
      {"remove at the limit", [&] { return rt_str_remove(&limit, 1, 0); }, {max}},
      {"concat at the limit",
       [&] { return reinterpret_cast<void *>(rt_str_concat(&destination, &joined, &x) - 1); },
       {max}},
      {"concat one past",
       [&] { return reinterpret_cast<void *>(rt_str_concat(&destination, &joined, &xx) - 1); },
       {}},
      {"repeat of 3 at UINT64_MAX / 3", [&] { return rt_str_repeat(&axa, max / 3); }, {max}},
      {"repeat of 2 at UINT64_MAX / 2", [&] { return rt_str_repeat(&xx, max / 2); }, {max - 1}},
      {"repeat of 2 one past", [&] { return rt_str_repeat(&xx, max / 2 + 1); }, {}},
      {"replace growing to the limit",
       [&] {
         static StrView with;
         with = StrView{text, max - 35};
         return rt_str_replace(&axa, &x, &with);
       },
       {max, 36}},
      {"replace growing one past",
       [&] {
         static StrView with;
         with = StrView{text, max - 34};
         return rt_str_replace(&axa, &x, &with);
       },
       {36}},
      {"replace growing by 2^63 once",
       [&] {
         static StrView with;
         with = StrView{text, (uint64_t{1} << 63) + 1};
         return rt_str_replace(&axa, &x, &with);
       },
       {(uint64_t{1} << 63) + 36, 36}},
      {"replace whose growth times count wraps",
       [&] {
         static StrView with;
         with = StrView{text, max / 2 + 2};
         return rt_str_replace(&xx, &x, &with);
       },
       {35}},
  };
  for (const auto &c : cases) {
    fresh();
    // A small last block is the fallback copy of the small source; else the result is null.
    const bool copied = !c.sizes.empty() && c.sizes.back() < 64;
    Owned result(c.call());
    EXPECT_EQ(result.get() != nullptr, copied) << c.what;
    EXPECT_EQ(alloc_sizes(), c.sizes) << c.what;
  }
  fresh();
}

TEST(StringAllocations, SearchAndInPlaceRoutinesAllocateNothing) {
  Text text("  Hello World  "), set("lo"), search("o"), digits("0123");
  fresh();
  rt_instr(text.v(), search.v());
  rt_str_count(text.v(), search.v());
  rt_str_verify(text.v(), digits.v());
  rt_str_val(digits.v());
  rt_str_asc(text.v());
  rt_str_trim(text.v());
  rt_str_ltrim(text.v());
  rt_str_rtrim(text.v());
  rt_str_reverse(text.v());
  EXPECT_TRUE(standin::calls().empty());
}

// The host's atol is 64-bit; the value still arrives as a 32-bit one, cut as msvcrt's atol
// wraps it on overflow.
TEST(StrValOnTheHost, OutOfRangeValuesWrapTo32Bits) {
  const struct {
    const char *text;
    int64_t value;
  } cases[] = {{"2147483648", INT32_MIN},
               {"4294967295", -1},
               {"-2147483649", INT32_MAX},
               {"99999999999", 1215752191},
               {"4294967296", 0}};
  for (const auto &c : cases) {
    Text text(c.text);
    EXPECT_EQ(rt_str_val(text.v()), c.value) << c.text;
  }
}

TEST(CaseCalls, OneCallOverTheWholeLengthCutTo32Bits) {
  char text[] = "aBc";
  const struct {
    int64_t (*routine)(StrView *);
    const char *name;
    uint64_t length;
    uint64_t passed;
  } cases[] = {
      {rt_str_lcase, "CharLowerBuffA", 3, 3},
      {rt_str_ucase, "CharUpperBuffA", 3, 3},
      {rt_str_ucase, "CharUpperBuffA", 0, 0},
      {rt_str_lcase, "CharLowerBuffA", (uint64_t{1} << 32) + 2, 2},
  };
  for (const auto &c : cases) {
    StrView view{text, c.length};
    fresh();
    EXPECT_EQ(c.routine(&view), 0);
    ASSERT_EQ(standin::call_names(), Names{c.name});
    EXPECT_EQ(standin::calls()[0].args, (std::vector<uint64_t>{standin::word(text), c.passed}));
    EXPECT_EQ(view.length, c.length);
  }
}

} // namespace
