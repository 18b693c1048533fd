// String variable operations: the values, blocks and zero tails they leave, on both tiers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "inline_blocks.h"
#include "rtlib.h"

namespace {

std::string text_of(const StrVar &var) {
  return var.length == 0 ? std::string() : std::string(var.data, static_cast<size_t>(var.length));
}
bool zeros_at(const char *p, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (p[i] != 0)
      return false;
  return true;
}

TEST(StrVarInit, DynamicStartsOnA520ByteBlock) {
  StrVar var{7, 7, nullptr};
  rt_strvar_init(&var);
  ASSERT_NE(var.data, nullptr);
  EXPECT_EQ(var.capacity, 512);
  EXPECT_EQ(var.length, 0);
  EXPECT_EQ(block_size(var.data), 520u);
  EXPECT_TRUE(zeros_at(var.data, 8));
  rt_strvar_release(&var);
}

TEST(StrVarInit, FixedSizeLivesOnItsBuffer) {
  struct {
    StrVar var;
    char buffer[9];
  } fixed;
  std::memset(&fixed, 0x5A, sizeof fixed);
  rt_strvar_init_fixed(&fixed.var, fixed.buffer, 9);
  EXPECT_EQ(fixed.var.data, fixed.buffer);
  EXPECT_EQ(fixed.var.capacity, -9);
  EXPECT_EQ(fixed.var.length, 0);
  EXPECT_TRUE(zeros_at(fixed.buffer, 9));
}

TEST(StrTemp, CopyHasEightZeroBytesBehindTheText) {
  const char pool[] = "alpha beta"; // read by address and length, never up to a NUL
  for (int64_t n : {0, 1, 5, 10}) {
    const StrTemp t = rt_strtemp_copy(pool, n);
    ASSERT_NE(t.data, nullptr);
    EXPECT_EQ(t.length, n);
    EXPECT_EQ(block_size(t.data), static_cast<size_t>(n) + 8);
    EXPECT_EQ(std::string(t.data, static_cast<size_t>(n)),
              std::string(pool, static_cast<size_t>(n)));
    EXPECT_TRUE(zeros_at(t.data + n, 8));
    free_block(t.data);
  }
}

TEST(StrTemp, ConcatJoinsIntoTotalPlusEightBytes) {
  const struct {
    const char *left, *right, *joined;
  } cases[] = {{"alpha", " beta", "alpha beta"}, {"", "x", "x"}, {"abc", "", "abc"}};
  for (const auto &c : cases) {
    const StrTemp left = rt_strtemp_copy(c.left, static_cast<int64_t>(std::strlen(c.left)));
    const StrTemp right = rt_strtemp_copy(c.right, static_cast<int64_t>(std::strlen(c.right)));
    const StrTemp joined = rt_strtemp_concat(left, right);
    const size_t n = std::strlen(c.joined);
    ASSERT_NE(joined.data, nullptr) << c.joined;
    EXPECT_EQ(joined.length, static_cast<int64_t>(n));
    EXPECT_EQ(std::string(joined.data, n), c.joined);
    EXPECT_EQ(block_size(joined.data), n + 8);
    EXPECT_TRUE(zeros_at(joined.data + n, 4));
    StrVar owner{0, 0, nullptr};
    rt_strvar_adopt(&owner.data, joined.data, joined.length);
    EXPECT_EQ(owner.capacity, static_cast<int64_t>(n));
    rt_strvar_release(&owner);
  }
}

TEST(StrTemp, TwoEmptyValuesJoinToTheNullValue) {
  const StrTemp joined = rt_strtemp_concat(rt_strtemp_copy("", 0), rt_strtemp_copy(nullptr, 0));
  EXPECT_EQ(joined.data, nullptr);
  EXPECT_EQ(joined.length, 0);
  StrVar var;
  rt_strvar_init(&var);
  rt_strvar_adopt(&var.data, joined.data, joined.length);
  EXPECT_EQ(var.data, nullptr);
  EXPECT_EQ(var.length, 0);
  EXPECT_EQ(var.capacity, 0);
  rt_strvar_release(&var); // owns nothing
}

TEST(StrVarAdopt, FixedSizeBecomesAHeapVariable) {
  struct {
    StrVar var;
    char buffer[9];
  } tag;
  rt_strvar_init_fixed(&tag.var, tag.buffer, 9);
  const StrTemp value = rt_strtemp_copy("twelve chars", 12);
  rt_strvar_adopt(&tag.var.data, value.data, value.length);
  EXPECT_EQ(tag.var.data, value.data);
  EXPECT_EQ(tag.var.capacity, 12);
  EXPECT_EQ(text_of(tag.var), "twelve chars");
  rt_strvar_release(&tag.var); // now owns the block
}

TEST(StrVarAssignText, FixedSizeCutsToItsBuffer) {
  const struct {
    const char *text, *stored;
  } cases[] = {{"hello", "hello"},
               {"", ""},
               {"12345678", "12345678"},
               {"123456789", "12345678"},
               {"twelve chars", "twelve c"}};
  for (const auto &c : cases) {
    struct {
      StrVar var;
      char buffer[9];
    } tag;
    rt_strvar_init_fixed(&tag.var, tag.buffer, 9);
    rt_strvar_assign_text(&tag.var.data, c.text);
    EXPECT_EQ(text_of(tag.var), c.stored) << c.text;
    EXPECT_EQ(tag.var.length, static_cast<int64_t>(std::strlen(c.stored)));
    EXPECT_EQ(tag.var.capacity, -9);
    EXPECT_EQ(tag.var.data, tag.buffer);
    EXPECT_EQ(tag.buffer[tag.var.length], 0);
  }
}

TEST(StrVarAssignText, ReusesTheBlockUpTo511BytesAndGrowsFrom512) {
  const struct {
    size_t length;
    bool reused;
    int64_t capacity;
  } cases[] = {
      {0, true, 512}, {5, true, 512}, {511, true, 512}, {512, false, 513}, {2000, false, 2001}};
  for (const auto &c : cases) {
    const std::string text(c.length, 'q');
    StrVar var;
    rt_strvar_init(&var);
    char *const first = var.data;
    rt_strvar_assign_text(&var.data, text.c_str());
    EXPECT_EQ(var.data == first, c.reused) << c.length;
    EXPECT_EQ(var.capacity, c.capacity) << c.length;
    EXPECT_EQ(var.length, static_cast<int64_t>(c.length));
    EXPECT_EQ(text_of(var), text);
    EXPECT_EQ(var.data[c.length], 0);
    EXPECT_EQ(block_size(var.data), c.reused ? 520u : c.length + 1);
    rt_strvar_release(&var);
  }
}

TEST(StrVarAssignText, AGlobalVariableGrowsOffItsStaticText) {
  static struct {
    StrVar var;
    char empty[8];
  } global = {{0, 0, global.empty}, {}};
  rt_strvar_assign_text(&global.var.data, "hello");
  EXPECT_NE(global.var.data, global.empty);
  EXPECT_EQ(global.var.capacity, 6);
  EXPECT_EQ(text_of(global.var), "hello");
  rt_strvar_release(&global.var);
}

} // namespace
