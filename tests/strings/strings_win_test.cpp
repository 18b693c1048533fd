// String routines on the real platform: case conversion in the ANSI code page, block sizes of
// the process heap, and allocation failure from requests too large to satisfy.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>

#include "text_support.h"

namespace {

TEST(CaseOnThePlatform, AnsiPair201And233) {
  ASSERT_EQ(GetACP(), 1252u) << "these cases assume the Western European code page";
  const struct {
    int64_t (*routine)(StrView *);
    std::string text, result;
  } cases[] = {
      {rt_str_ucase, "\xE9t\xE9 ab1c", "\xC9T\xC9 AB1C"},
      {rt_str_lcase, "\xC9T\xC9 AB1C", "\xE9t\xE9 ab1c"},
      {rt_str_ucase, "\xE0\xFE\xF7", "\xC0\xDE\xF7"}, // division sign is no letter
      {rt_str_lcase, "\xC0\xDE\xD7", "\xE0\xFE\xD7"}, // nor is the multiplication sign
      {rt_str_ucase, std::string("a\0b", 3), std::string("A\0B", 3)},
  };
  for (const auto &c : cases) {
    Text text(c.text);
    EXPECT_EQ(c.routine(text.v()), 0);
    EXPECT_EQ(std::string(text.view.data, text.view.length), c.result);
    EXPECT_EQ(text.view.data[text.view.length], 0);
  }
}

TEST(AllocationFailure, SizedRequestsTooLargeToSatisfy) {
  // The length words are huge; the data is only read once a block has been had, so a small
  // real text stands behind each of them.
  char text[] = "aXa";
  const uint64_t huge = uint64_t{1} << 61;
  const StrView big{text, huge}, small{text, 3}, x{text + 1, 1};
  EXPECT_EQ(rt_str_dup(&big), nullptr);
  EXPECT_EQ(rt_str_insert(&small, &big, 2), nullptr);
  EXPECT_EQ(rt_str_insert(&big, &small, 2), nullptr);
  EXPECT_EQ(rt_str_remove(&big, 2, 1), nullptr); // its block and the fallback copy both fail
  const StrView replacement{text, huge};
  const StrView whole{text, 3};
  Owned copy(rt_str_replace(&whole, &x, &replacement)); // falls back to a copy
  EXPECT_TRUE(sized_record_holds(copy.get(), "aXa"));
  const StrView source_big{text, huge}; // strstr finds X; the result and the copy both fail
  EXPECT_EQ(rt_str_replace(&source_big, &x, &replacement), nullptr);
  EXPECT_EQ(rt_str_repeat(&small, huge), nullptr);
  RtString destination{text, 1, 2, 3};
  EXPECT_EQ(rt_str_concat(&destination, &big, &small), 1);
  EXPECT_EQ(destination.data, text);
  EXPECT_EQ(destination.length, 1u);
  EXPECT_EQ(destination.capacity, 2u);
  EXPECT_EQ(destination.inline_flag, 3u);
}

// The fixed-size constructors ask for 32 to 104 bytes. To see their null result on the real
// platform, the image's import of GetProcessHeap is pointed for a moment at a routine that
// hands out a small heap of fixed size, filled so that no further block fits.
HANDLE full_heap = nullptr;
HANDLE WINAPI give_full_heap() {
  return full_heap;
}

} // namespace

extern "C" HANDLE(WINAPI *__imp_GetProcessHeap)(void);

namespace {

TEST(AllocationFailure, FixedSizeConstructorsOnAFullHeap) {
  full_heap = HeapCreate(0, 0x10000, 0x10000);
  ASSERT_NE(full_heap, nullptr);
  while (HeapAlloc(full_heap, 0, 16) != nullptr) {
  }
  Text hello("hello"), lo("lo"), abc("abc");
  DWORD old = 0;
  auto **slot = &__imp_GetProcessHeap;
  ASSERT_TRUE(VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old));
  HANDLE(WINAPI * saved)(void) = *slot;
  *slot = give_full_heap;
  RtString *results[] = {
      rt_str_new(),        rt_str_empty(),      rt_str_from_char(65),
      rt_str_from_int(-5), rt_str_bin(5),       rt_str_oct(5),
      rt_str_blank(),      rt_str_dup(abc.v()), rt_str_find_any(hello.v(), lo.v())};
  void *repeat = rt_str_repeat(abc.v(), 2);
  RtString destination{};
  const int64_t concat = rt_str_concat(&destination, abc.v(), abc.v());
  *slot = saved;
  VirtualProtect(slot, sizeof *slot, old, &old);
  HeapDestroy(full_heap);
  for (size_t i = 0; i < sizeof results / sizeof results[0]; ++i)
    EXPECT_EQ(results[i], nullptr) << i;
  EXPECT_EQ(repeat, nullptr);
  EXPECT_EQ(concat, 1);
  EXPECT_EQ(destination.data, nullptr);
  // With the process heap back, the same calls succeed.
  Owned r(rt_str_new());
  EXPECT_TRUE(r);
}

TEST(StrValOnThePlatform, ThirtyTwoBitValueSignExtended) {
  const struct {
    const char *text;
    int64_t value;
  } cases[] = {{"-1", -1}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {" 12x", 12}};
  for (const auto &c : cases) {
    Text text(c.text);
    EXPECT_EQ(rt_str_val(text.v()), c.value) << c.text;
  }
  // Out of the 32-bit range: whatever msvcrt's atol gives, it arrives as a 32-bit value.
  for (const char *s : {"2147483648", "4294967295", "-2147483649", "99999999999"}) {
    Text text(s);
    const int64_t value = rt_str_val(text.v());
    EXPECT_EQ(value, static_cast<int64_t>(static_cast<int32_t>(atol(s)))) << s;
  }
}

} // namespace
