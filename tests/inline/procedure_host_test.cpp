// Frame building blocks, thread launch and window procedures against the recording stand-in.
#include <gtest/gtest.h>

#include <cstring>

#include "stand_in_inline.h"
#include <rtlib_inline.hpp>

using namespace rt_inline;
using standin::word;
namespace heap = standin::inline_profile;

namespace {

struct NoVariables {
  int64_t unused;
};
using Frame = ProcFrame<int64_t, NoVariables>;

class InlineCalls : public testing::Test {
protected:
  void SetUp() override {
    standin::reset();
    heap::reset();
  }
  void TearDown() override {
    heap::reset();
  }
};

TEST_F(InlineCalls, ClearingIsOneFillOfTheWholeFrame) {
  Frame f;
  clear_frame(f);
  ASSERT_EQ(standin::calls().size(), 1u);
  EXPECT_EQ(standin::calls()[0].name, "memset");
  EXPECT_EQ(standin::calls()[0].args, (std::vector<uint64_t>{word(&f), 0, 14032}));
}

TEST_F(InlineCalls, SlotsHoldingHandlesAreClosedInOrderAndEmptyOnesSkipped) {
  const struct {
    std::vector<std::pair<size_t, uint64_t>> stored; // record number (1-15), handle
    std::vector<uint64_t> closed;
  } cases[] = {
      {{}, {}},
      {{{7, 0x77}, {3, 0x33}}, {0x33, 0x77}},
      {{{1, 0x11}, {15, 0xFF}}, {0x11, 0xFF}},
      {{{3, 0x33}, {4, 0}}, {0x33}},
  };
  for (const auto &c : cases) {
    standin::reset();
    Frame f;
    std::memset(&f, 0, sizeof f);
    zero_fixed_slots(f);
    for (const auto &[record, handle] : c.stored)
      f.handle[record - 1].word[0] = handle;
    f.handle[5].word[1] = 0x99; // words 2 to 5 of a record are never closed
    f.reserved[0] = 0x98;
    close_handle_slots(f);
    std::vector<uint64_t> closed;
    for (const auto &call : standin::calls()) {
      ASSERT_EQ(call.name, "CloseHandle");
      closed.push_back(call.args[0]);
    }
    EXPECT_EQ(closed, c.closed);
    for (const auto &[record, handle] : c.stored)
      EXPECT_EQ(f.handle[record - 1].word[0], handle); // not cleared
  }
}

TEST_F(InlineCalls, FixedSlotsAreZeroedWithoutAnyCall) {
  ProcFrame<StrVar, NoVariables> f;
  std::memset(&f, 0xA5, sizeof f);
  zero_fixed_slots(f);
  EXPECT_TRUE(standin::calls().empty());
  EXPECT_EQ(f.result.capacity, 0);
  EXPECT_EQ(f.result.length, 0);
  for (const auto &record : f.handle)
    for (uint64_t w : record.word)
      EXPECT_EQ(w, 0u);
  EXPECT_EQ(f.reserved[0], 0u);
  EXPECT_EQ(f.reserved[1], 0u);
  EXPECT_EQ(f.number_buffer[0], static_cast<char>(0xA5)); // nothing else is touched
}

int64_t seen_args[6];
int64_t six_result = 0;
int64_t six(int64_t a, int64_t b, int64_t c, int64_t d, int64_t e, const char *text) {
  seen_args[0] = a;
  seen_args[1] = b;
  seen_args[2] = c;
  seen_args[3] = d;
  seen_args[4] = e;
  seen_args[5] = static_cast<int64_t>(reinterpret_cast<uintptr_t>(text));
  return six_result;
}

TEST_F(InlineCalls, LaunchFillsTheBlockAndTheThreadFreesItOnce) {
  const struct {
    int64_t result;
    DWORD exit_code;
  } cases[] = {{15, 15}, {0x100000005, 5}, {-1, 0xFFFFFFFFu}, {0, 0}};
  static const char text[] = "hello";
  for (const auto &c : cases) {
    standin::reset();
    heap::reset();
    six_result = c.result;
    const uint64_t words[6] = {1, 2, 3, 4, 5, reinterpret_cast<uintptr_t>(text)};
    RtDword id = 0;
    void *const thread = rt_thread_launch(rt_thread_entry<six>, 6, words, &id);
    ASSERT_NE(thread, nullptr);
    const void *block = heap::allocations().at(0).first;
    ASSERT_EQ(standin::call_names(),
              (std::vector<std::string>{"malloc", "memset", "CreateThread"}));
    EXPECT_EQ(standin::calls()[0].args, std::vector<uint64_t>{256});
    EXPECT_EQ(standin::calls()[1].args, (std::vector<uint64_t>{word(block), 0, 256}));
    RtThreadStart start = rt_thread_entry<six>;
    EXPECT_EQ(standin::calls()[2].args,
              (std::vector<uint64_t>{0, 0, word(start), word(block), 0, word(&id)}));
    rt_thread_wait(thread);
    EXPECT_EQ(std::vector<int64_t>(seen_args, seen_args + 6),
              (std::vector<int64_t>{1, 2, 3, 4, 5, static_cast<int64_t>(words[5])}));
    EXPECT_EQ(heap::thread_exit_code(thread), std::optional<DWORD>(c.exit_code));
    EXPECT_EQ(heap::times_freed(block), 1u);
    EXPECT_TRUE(heap::live_blocks().empty());
    // The thread registers the handler first and frees the block last; the wait then closes.
    EXPECT_EQ(standin::call_names(),
              (std::vector<std::string>{"malloc", "memset", "CreateThread", "WaitForSingleObject",
                                        "AddVectoredExceptionHandler", "free", "CloseHandle"}));
    const auto &calls = standin::calls();
    EXPECT_EQ(calls[3].args, (std::vector<uint64_t>{word(thread), INFINITE}));
    EXPECT_EQ(calls[4].args, (std::vector<uint64_t>{0, word(&rt_stack_fault_handler)}));
    EXPECT_EQ(calls[6].args, std::vector<uint64_t>{word(thread)});
    // The block as it was freed: zero but for the result and the six words.
    ThreadArgBlock freed;
    ASSERT_EQ(calls[5].bytes.size(), sizeof freed);
    std::memcpy(&freed, calls[5].bytes.data(), sizeof freed);
    EXPECT_EQ(freed.reserved_low, 0u);
    EXPECT_EQ(freed.result, c.exit_code);
    EXPECT_EQ(freed.reserved_high, 0u);
    for (size_t i = 0; i < 30; ++i)
      EXPECT_EQ(freed.args[i], i < 6 ? words[i] : 0u) << i;
  }
}

TEST_F(InlineCalls, LaunchStoresAtMostThirtyWords) {
  uint64_t words[40];
  for (uint64_t i = 0; i < 40; ++i)
    words[i] = 100 + i;
  RtDword id = 0;
  void *const thread = rt_thread_launch(rt_thread_entry<six>, 40, words, &id);
  const auto *block = static_cast<const ThreadArgBlock *>(heap::allocations().at(0).first);
  for (size_t i = 0; i < 30; ++i)
    EXPECT_EQ(block->args[i], 100 + i);
  EXPECT_EQ(block->result, 0u);
  rt_thread_wait(thread);
}

TEST_F(InlineCalls, AFailedThreadCreationFreesTheBlockAndTheWaitReturns) {
  heap::fail_next_create_thread();
  const uint64_t words[1] = {7};
  RtDword id = 0;
  void *const thread = rt_thread_launch(rt_thread_entry<six>, 1, words, &id);
  EXPECT_EQ(thread, nullptr);
  EXPECT_TRUE(heap::live_blocks().empty());
  rt_thread_wait(thread);
  EXPECT_EQ(standin::call_names(),
            (std::vector<std::string>{"malloc", "memset", "CreateThread", "free",
                                      "WaitForSingleObject", "CloseHandle"}));
}

TEST_F(InlineCalls, AFailedBlockAllocationEndsWithExitCode1) {
  heap::fail_malloc(1);
  static const uint64_t words[1] = {7};
  static RtDword id = 0;
  EXPECT_EQ(standin::run_until_exit([] { rt_thread_launch(rt_thread_entry<six>, 1, words, &id); }),
            std::optional<UINT>(1));
  EXPECT_EQ(standin::call_names(), (std::vector<std::string>{"malloc", "ExitProcess"}));
}

// Window procedures.
HWND const window = reinterpret_cast<HWND>(uintptr_t{0x4400});
int64_t handler_result = 0;
std::vector<uint64_t> handler_saw;
int64_t handler(HWND__ *w, uint32_t message, uint64_t first, int64_t second) {
  handler_saw = {word(w), message, first, static_cast<uint64_t>(second)};
  return handler_result;
}

TEST_F(InlineCalls, WindowProceduresOfferHandleDestroyAndDefault) {
  constexpr uint32_t paint = 0x000F;
  const struct {
    bool plain;
    bool has_handler;
    int64_t handler_returns;
    uint32_t message;
    int64_t result;
    std::vector<std::string> calls;
  } cases[] = {
      {false, false, 0, WM_DESTROY, 0, {"GetWindowLongPtrA", "PostQuitMessage"}},
      {false, false, 0, paint, 77, {"GetWindowLongPtrA", "DefWindowProcA"}},
      {false, true, 5, paint, 5, {"GetWindowLongPtrA"}},
      {false, true, 5, WM_DESTROY, 5, {"GetWindowLongPtrA"}},
      {false, true, -3, WM_DESTROY, -3, {"GetWindowLongPtrA"}},
      {false, true, 0, WM_DESTROY, 0, {"GetWindowLongPtrA", "PostQuitMessage"}},
      {false, true, 0, paint, 77, {"GetWindowLongPtrA", "DefWindowProcA"}},
      {true, false, 0, WM_DESTROY, 0, {"PostQuitMessage"}},
      {true, false, 0, paint, 77, {"DefWindowProcA"}},
      {true, true, 5, paint, 77, {"DefWindowProcA"}}, // never looks at the user data
  };
  for (const auto &c : cases) {
    standin::reset();
    heap::reset();
    heap::set_default_result(77);
    handler_result = c.handler_returns;
    handler_saw.clear();
    if (c.has_handler)
      heap::set_user_data(window, static_cast<LONG_PTR>(reinterpret_cast<uintptr_t>(&handler)));
    const int64_t result = c.plain ? rt_window_proc_plain(window, c.message, 0x10, -0x20)
                                   : rt_window_proc(window, c.message, 0x10, -0x20);
    EXPECT_EQ(result, c.result) << c.plain << c.has_handler << c.message;
    EXPECT_EQ(standin::call_names(), c.calls) << c.plain << c.has_handler << c.message;
    const std::vector<uint64_t> four = {word(window), c.message, 0x10, word(int64_t{-0x20})};
    EXPECT_EQ(handler_saw, !c.plain && c.has_handler ? four : std::vector<uint64_t>{});
    for (const auto &call : standin::calls()) {
      if (call.name == "GetWindowLongPtrA") {
        EXPECT_EQ(call.args, (std::vector<uint64_t>{word(window), word(-21)}));
      } else if (call.name == "PostQuitMessage") {
        EXPECT_EQ(call.args, std::vector<uint64_t>{0});
      } else {
        EXPECT_EQ(call.args, four);
      }
    }
  }
}

} // namespace
