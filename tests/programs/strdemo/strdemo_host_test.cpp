// strdemo's procedures against the recording stand-in: every statement's heap calls in order,
// the blocks that stay, exit code 128, no output and no CloseHandle.
#include <gtest/gtest.h>

#include "../inline_trace.h"
#include <rtlib_inline.hpp>

extern "C" void strdemo_main(void);
namespace strdemo {
extern rt_inline::GlobalStrVar saved;
StrView make_words();
int64_t add_bang(StrRef target);
} // namespace strdemo

namespace {

namespace heap = standin::inline_profile;
const std::string built = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda";

class Strdemo : public testing::Test {
protected:
  void SetUp() override {
    standin::reset();
    heap::reset();
    strdemo::saved = {{0, 0, strdemo::saved.empty}, {}};
  }
  void TearDown() override {
    heap::reset();
  }
};

TEST_F(Strdemo, RunEndsWith128AndWritesNothing) {
  EXPECT_EQ(standin::run_until_exit([] { strdemo_main(); }), std::optional<UINT>(128));
  EXPECT_TRUE(standin::written_to(standin::stdout_handle).empty());
  for (const auto &name : standin::call_names()) {
    EXPECT_NE(name, "WriteFile");
    EXPECT_NE(name, "CloseHandle"); // no slot ever holds a handle
  }
  EXPECT_EQ(std::string(strdemo::saved.var.data, 64), built + "!");
  EXPECT_EQ(strdemo::saved.var.capacity, 64);
  EXPECT_EQ(strdemo::saved.var.length, 64);
}

// Every statement of every procedure, in order.
TEST_F(Strdemo, EveryStatementsHeapCallsInOrder) {
  standin::run_until_exit([] { strdemo_main(); });
  const std::vector<std::string> expected = {
      // main: entry
      "memset 14032", "AddVectoredExceptionHandler", "malloc 520", // #0 line
      // make_words: entry
      "memset 14032", "malloc 520", "malloc 520", // #1 result, #2 words
      // words = "alpha"
      "malloc 13", "free #2", // #3
      // words = words + " beta ... lambda"
      "malloc 13", "malloc 66", "malloc 71", "free #4", "free #5", "free #3", // #4 #5 #6
      // return words
      "malloc 71", "free #1", // #7
      // exit
      "free #6",
      // main: line = make_words()
      "free #0",
      // add_bang(line): target = target + "!"
      "memset 14032", "malloc 71", "malloc 9", "malloc 72", "free #8", "free #9", "free #7",
      // main: saved = line (its static empty text is not released)
      "malloc 72", // #11
      // main: tag = the empty value (tag was fixed-size: nothing released)
      "malloc 8", // #12
      // main: exit releases line; tag adopted an empty value (capacity 0) and keeps it
      "free #10", "ExitProcess"};
  EXPECT_EQ(inline_trace({"AddVectoredExceptionHandler", "ExitProcess", "CloseHandle"}), expected);
}

TEST_F(Strdemo, EveryStartingBlockIsReleasedOnceAndOnlyKeptBlocksStay) {
  standin::run_until_exit([] { strdemo_main(); });
  size_t starting_blocks = 0;
  for (const auto &[block, size] : heap::allocations())
    if (size == 520) {
      ++starting_blocks;
      EXPECT_EQ(heap::times_freed(block), 1u);
    }
  EXPECT_EQ(starting_blocks, 3u); // line, make_words' result slot and words
  // What stays: saved's copy and tag's empty value, nothing else.
  const auto &live = heap::live_blocks();
  ASSERT_EQ(live.size(), 2u);
  ASSERT_EQ(live.count(strdemo::saved.var.data), 1u);
  EXPECT_EQ(live.at(strdemo::saved.var.data), 72u);
  for (const auto &[block, size] : live)
    if (block != strdemo::saved.var.data)
      EXPECT_EQ(size, 8u);
}

TEST_F(Strdemo, MakeWordsHandsItsBlockToTheCaller) {
  const StrView words = strdemo::make_words();
  ASSERT_EQ(words.length, 63u);
  EXPECT_EQ(std::string(words.data, 63), built);
  ASSERT_EQ(heap::live_blocks().size(), 1u);
  EXPECT_EQ(heap::live_blocks().at(words.data), 71u);
  for (int i = 0; i < 8; ++i)
    EXPECT_EQ(words.data[63 + i], 0);
}

TEST_F(Strdemo, AddBangAppendsThroughTheReference) {
  StrVar line;
  rt_strvar_init(&line);
  rt_strvar_assign_text(&line.data, "abc");
  char *const old = line.data;
  EXPECT_EQ(strdemo::add_bang(&line.data), 0);
  EXPECT_EQ(std::string(line.data, static_cast<size_t>(line.length)), "abc!");
  EXPECT_EQ(line.capacity, 4);
  EXPECT_EQ(heap::times_freed(old), 1u);
  rt_strvar_release(&line);
  EXPECT_TRUE(heap::live_blocks().empty());
}

} // namespace
