// String variable operations against the recording stand-in: which blocks are allocated and
// released, in which order, and exit code 1 on every failed allocation.
#include <gtest/gtest.h>

#include <string>

#include "rtlib.h"
#include "stand_in_inline.h"

namespace {

using standin::word;
namespace heap = standin::inline_profile;

struct Step {
  std::string name;
  std::vector<uint64_t> args;
};

// The recorded heap calls (malloc, free), in order.
std::vector<Step> heap_calls() {
  std::vector<Step> steps;
  for (const auto &c : standin::calls())
    if (c.name == "malloc" || c.name == "free")
      steps.push_back({c.name, c.args});
  return steps;
}
void expect_heap(const std::vector<Step> &expected) {
  const auto got = heap_calls();
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].name, expected[i].name) << i;
    EXPECT_EQ(got[i].args, expected[i].args) << i << " " << got[i].name;
  }
}

class StrVarCalls : public testing::Test {
protected:
  void SetUp() override {
    standin::reset();
    heap::reset();
  }
  void TearDown() override {
    heap::reset();
  }
};

TEST_F(StrVarCalls, AdoptReleasesOnlyWhenCapacityIsAtLeastOne) {
  char own[4] = {};
  const struct {
    int64_t capacity;
    char *data;
    bool released;
  } cases[] = {{512, nullptr, true}, {1, nullptr, true},  {0, own, false},
               {-9, own, false},     {5, nullptr, false}, {INT64_MIN, own, false}};
  for (const auto &c : cases) {
    standin::reset();
    StrVar var{c.capacity, 3, c.data};
    if (c.released)
      var.data = static_cast<char *>(rt_inline::malloc(16));
    char *const old = var.data;
    standin::reset();
    const StrTemp value = rt_strtemp_copy("abc", 3);
    rt_strvar_adopt(&var.data, value.data, value.length);
    std::vector<Step> expected{{"malloc", {11}}};
    if (c.released)
      expected.push_back({"free", {word(old)}});
    expect_heap(expected);
    EXPECT_EQ(var.capacity, 3);
    rt_strvar_release(&var);
  }
}

TEST_F(StrVarCalls, AssignALiteralReleasesTheStartingBlock) {
  StrVar words;
  rt_strvar_init(&words);
  char *const start = words.data;
  const StrTemp t = rt_strtemp_copy("alpha", 5);
  rt_strvar_adopt(&words.data, t.data, t.length);
  rt_strvar_release(&words);
  expect_heap(
      {{"malloc", {520}}, {"malloc", {13}}, {"free", {word(start)}}, {"free", {word(t.data)}}});
  EXPECT_TRUE(heap::live_blocks().empty());
}

TEST_F(StrVarCalls, AssignAJoinCopiesBothSidesJoinsAndReleasesInOrder) {
  StrVar x;
  rt_strvar_init(&x);
  char *const start = x.data;
  const StrTemp a = rt_strtemp_copy("alpha", 5);
  const StrTemp b = rt_strtemp_copy(" beta", 5);
  const StrTemp joined = rt_strtemp_concat(a, b);
  rt_strvar_adopt(&x.data, joined.data, joined.length);
  expect_heap({{"malloc", {520}},
               {"malloc", {13}},
               {"malloc", {13}},
               {"malloc", {18}},
               {"free", {word(a.data)}},
               {"free", {word(b.data)}},
               {"free", {word(start)}}});
  EXPECT_EQ(x.capacity, 10);
  EXPECT_EQ(heap::live_blocks().size(), 1u);
  rt_strvar_release(&x);
}

TEST_F(StrVarCalls, JoiningTwoEmptyValuesLeavesNoBlock) {
  const StrTemp a = rt_strtemp_copy(nullptr, 0);
  const StrTemp b = rt_strtemp_copy("", 0);
  const StrTemp joined = rt_strtemp_concat(a, b);
  EXPECT_EQ(joined.data, nullptr);
  expect_heap(
      {{"malloc", {8}}, {"malloc", {8}}, {"free", {word(a.data)}}, {"free", {word(b.data)}}});
  EXPECT_TRUE(heap::live_blocks().empty());
  // A join of a join of empties with another empty releases only the block that exists.
  standin::reset();
  const StrTemp c = rt_strtemp_copy("", 0);
  const StrTemp again = rt_strtemp_concat(joined, c);
  EXPECT_EQ(again.data, nullptr);
  expect_heap({{"malloc", {8}}, {"free", {word(c.data)}}});
  // And the other way round: an empty value joined with the null value.
  standin::reset();
  const StrTemp d = rt_strtemp_copy("", 0);
  const StrTemp last = rt_strtemp_concat(d, again);
  EXPECT_EQ(last.data, nullptr);
  expect_heap({{"malloc", {8}}, {"free", {word(d.data)}}});
}

TEST_F(StrVarCalls, AssignTextAt511And512Bytes) {
  for (size_t length : {511u, 512u}) {
    standin::reset();
    StrVar var;
    rt_strvar_init(&var);
    char *const start = var.data;
    const std::string text(length, 'z');
    standin::reset();
    rt_strvar_assign_text(&var.data, text.c_str());
    const auto names = standin::call_names();
    if (length == 511) {
      EXPECT_EQ(names, (std::vector<std::string>{"lstrlenA", "lstrcpynA"}));
      EXPECT_EQ(standin::calls()[1].args,
                (std::vector<uint64_t>{word(start), word(text.c_str()), 512}));
    } else {
      EXPECT_EQ(names, (std::vector<std::string>{"lstrlenA", "malloc", "lstrcpynA", "free"}));
      EXPECT_EQ(standin::calls()[1].args, std::vector<uint64_t>{513});
      EXPECT_EQ(standin::calls()[2].args[2], 513u);
      EXPECT_EQ(standin::calls()[3].args, std::vector<uint64_t>{word(start)});
      EXPECT_EQ(var.capacity, 513);
    }
    rt_strvar_release(&var);
  }
}

TEST_F(StrVarCalls, AssignTextIntoFixedSizeGivesTheBufferSizeAsCount) {
  struct {
    StrVar var;
    char buffer[9];
  } tag;
  rt_strvar_init_fixed(&tag.var, tag.buffer, 9);
  EXPECT_TRUE(standin::calls().empty());
  rt_strvar_assign_text(&tag.var.data, "a much longer text");
  ASSERT_EQ(standin::call_names(), (std::vector<std::string>{"lstrcpynA", "lstrlenA"}));
  EXPECT_EQ(standin::calls()[0].args[2], 9u);
  EXPECT_EQ(tag.var.length, 8);
  EXPECT_EQ(std::string(tag.buffer), "a much l");
}

TEST_F(StrVarCalls, AssignTextGrowingAGlobalKeepsItsStaticText) {
  static struct {
    StrVar var;
    char empty[8];
  } global = {{0, 0, global.empty}, {}};
  rt_strvar_assign_text(&global.var.data, "hi");
  EXPECT_EQ(standin::call_names(), (std::vector<std::string>{"lstrlenA", "malloc", "lstrcpynA"}));
  rt_strvar_release(&global.var);
}

TEST_F(StrVarCalls, ReleaseOnlyWhatIsOwned) {
  char own[8] = {};
  for (int64_t capacity : {int64_t{-8}, int64_t{0}}) {
    StrVar var{capacity, 0, own};
    rt_strvar_release(&var);
  }
  StrVar empty{3, 0, nullptr};
  rt_strvar_release(&empty);
  EXPECT_TRUE(standin::calls().empty());
}

// Every allocating operation ends the process with exit code 1 at once when malloc fails:
// nothing is called after the failing malloc but ExitProcess.
TEST_F(StrVarCalls, EveryFailedAllocationEndsWithExitCode1) {
  static StrVar var;
  const struct {
    const char *what;
    void (*run)();
    size_t failing_malloc;
  } cases[] = {
      {"init", [] { rt_strvar_init(&var); }, 1},
      {"copy", [] { rt_strtemp_copy("abc", 3); }, 1},
      {"concat", [] { rt_strtemp_concat(rt_strtemp_copy("a", 1), rt_strtemp_copy("b", 1)); }, 3},
      {"assign_text",
       [] {
         rt_strvar_init(&var);
         static char text[601];
         for (size_t i = 0; i < 600; ++i)
           text[i] = 'x';
         rt_strvar_assign_text(&var.data, text);
       },
       2},
      {"huge copy", [] { rt_strtemp_copy("abc", INT64_MAX - 8); }, 0},
      {"huge concat",
       [] {
         StrTemp a = rt_strtemp_copy("a", 1);
         a.length = INT64_MAX;
         rt_strtemp_concat(a, rt_strtemp_copy("b", 1));
       },
       0},
  };
  for (const auto &c : cases) {
    standin::reset();
    heap::reset();
    heap::fail_malloc(c.failing_malloc);
    EXPECT_EQ(standin::run_until_exit(c.run), std::optional<UINT>(1)) << c.what;
    const auto names = standin::call_names();
    ASSERT_GE(names.size(), 1u);
    EXPECT_EQ(names.back(), "ExitProcess") << c.what;
    if (c.failing_malloc != 0) {
      ASSERT_GE(names.size(), 2u);
      EXPECT_EQ(names[names.size() - 2], "malloc") << c.what;
    }
  }
}

// A join whose block would be longer than INT64_MAX bytes ends the process without asking for
// one; at exactly that size it asks (and the request fails).
TEST_F(StrVarCalls, JoinTooLongForABlockEndsWithoutAsking) {
  const struct {
    int64_t total;
    std::vector<Step> asked;
  } cases[] = {{INT64_MAX - 8, {{"malloc", {uint64_t{INT64_MAX}}}}}, {INT64_MAX - 7, {}}};
  for (const auto &c : cases) {
    static StrTemp a, b;
    a = rt_strtemp_copy("a", 1);
    b = rt_strtemp_copy("b", 1);
    a.length = c.total - 1;
    standin::reset();
    EXPECT_EQ(standin::run_until_exit([] { rt_strtemp_concat(a, b); }), std::optional<UINT>(1));
    expect_heap(c.asked);
    a.length = 1;
    rt_inline::free(a.data);
    rt_inline::free(b.data);
  }
}

TEST(StrVarDeath, AFailedAllocationEndsTheRealProcessWithExitCode1) {
  EXPECT_EXIT(rt_strtemp_copy("x", INT64_MAX - 16), testing::ExitedWithCode(1), "");
}

} // namespace
