// threaddemo against the recording stand-in (a thread runs when it is waited for): the launch,
// the block handed over, the print statements' writes, the globals and a failing launch.
#include <gtest/gtest.h>

#include <cstring>

#include "../inline_trace.h"
#include <rtlib_inline.hpp>

extern "C" void threaddemo_main(void);
namespace threaddemo {
extern int64_t total;
extern rt_inline::GlobalStrVar message;
int64_t worker(int64_t p1, int64_t p2, int64_t p3, int64_t p4, int64_t p5, const char *p6);
} // namespace threaddemo

namespace {

using standin::word;
namespace heap = standin::inline_profile;

class Threaddemo : public testing::Test {
protected:
  void SetUp() override {
    standin::reset();
    heap::reset();
    threaddemo::total = 0;
    threaddemo::message = {{0, 0, threaddemo::message.empty}, {}};
  }
  void TearDown() override {
    heap::reset();
  }
};

const standin::Call *find_call(const std::string &name, size_t nth = 0) {
  for (const auto &call : standin::calls())
    if (call.name == name && nth-- == 0)
      return &call;
  return nullptr;
}

TEST_F(Threaddemo, Writes53BytesItemByItemAndEndsWith0) {
  EXPECT_EQ(standin::run_until_exit([] { threaddemo_main(); }), std::optional<UINT>(0));
  EXPECT_EQ(standin::written_to(standin::stdout_handle),
            "a=1 b=2 c=3 d=4 e=5 msg=hello\r\nresult=15\r\nmsg=hello\r\n");
  std::vector<std::string> items;
  const auto names = standin::call_names();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == "WriteFile") {
      EXPECT_EQ(names.at(i - 1), "GetStdHandle"); // the handle is fetched for every write
      items.push_back(standin::calls()[i].bytes);
    }
  EXPECT_EQ(items, (std::vector<std::string>{"a=", "1", " b=", "2", " c=", "3", " d=", "4",
                                             " e=", "5", " msg=", "hello", "\r\n", "result=", "15",
                                             "\r\n", "msg=", "hello", "\r\n"}));
  for (const char *name : {"CloseHandle"}) {
    size_t count = 0;
    for (const auto &n : names)
      count += n == name;
    EXPECT_EQ(count, 1u) << "only the thread handle is closed";
  }
}

TEST_F(Threaddemo, HandsTheWorkerItsSixWordsAndWaitsBeforeReading) {
  standin::run_until_exit([] { threaddemo_main(); });
  const std::vector<std::string> expected = {"memset 14032",
                                             "AddVectoredExceptionHandler", // main entry
                                             "malloc 256",
                                             "memset 256",
                                             "CreateThread",                // launch: #0
                                             "WaitForSingleObject",         // the worker runs here
                                             "AddVectoredExceptionHandler", // its start routine
                                             "memset 14032",
                                             "malloc 520",  // worker entry: msg #1
                                             "malloc 13",   // message = msg: #2
                                             "free #1",     // worker exit
                                             "free #0",     // start routine
                                             "CloseHandle", // rt_thread_wait
                                             "ExitProcess"};
  EXPECT_EQ(inline_trace({"AddVectoredExceptionHandler", "CreateThread", "WaitForSingleObject",
                          "CloseHandle", "ExitProcess"}),
            expected);
  const auto *create = find_call("CreateThread");
  ASSERT_NE(create, nullptr);
  const void *block = heap::allocations().at(0).first;
  RtThreadStart start = rt_thread_entry<threaddemo::worker>;
  EXPECT_EQ(create->args[0], 0u);
  EXPECT_EQ(create->args[1], 0u);
  EXPECT_EQ(create->args[2], word(start));
  EXPECT_EQ(create->args[3], word(block));
  EXPECT_EQ(create->args[4], 0u);
  EXPECT_NE(create->args[5], 0u); // the identifier's slot in main's frame
  const HANDLE thread = reinterpret_cast<HANDLE>(uintptr_t{0x7100});
  EXPECT_EQ(find_call("WaitForSingleObject")->args,
            (std::vector<uint64_t>{word(thread), INFINITE}));
  EXPECT_EQ(find_call("CloseHandle")->args, std::vector<uint64_t>{word(thread)});
  EXPECT_EQ(heap::thread_exit_code(thread), std::optional<DWORD>(15));
  // The block as the worker's start routine left it just before freeing it.
  EXPECT_EQ(heap::times_freed(block), 1u);
  const auto *freed = find_call("free", 1);
  ASSERT_NE(freed, nullptr);
  ASSERT_EQ(freed->bytes.size(), 256u);
  uint64_t words[32];
  std::memcpy(words, freed->bytes.data(), 256);
  EXPECT_EQ(words[0], 0u);
  EXPECT_EQ(words[1], 15u); // result 15 at offset 8, zero at 12
  EXPECT_EQ(std::vector<uint64_t>(words + 2, words + 7), (std::vector<uint64_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(words[7])), "hello");
  for (int i = 8; i < 32; ++i)
    EXPECT_EQ(words[i], 0u) << i;
}

TEST_F(Threaddemo, GlobalsAfterTheRun) {
  standin::run_until_exit([] { threaddemo_main(); });
  EXPECT_EQ(threaddemo::total, 15);
  EXPECT_EQ(threaddemo::message.var.length, 5);
  EXPECT_EQ(threaddemo::message.var.capacity, 5);
  EXPECT_EQ(std::string(threaddemo::message.var.data, 13),
            std::string("hello\0\0\0\0\0\0\0\0", 13));
  // Only message's block stays.
  ASSERT_EQ(heap::live_blocks().size(), 1u);
  EXPECT_EQ(heap::live_blocks().count(threaddemo::message.var.data), 1u);
}

TEST_F(Threaddemo, WorkerCopiesItsTextBeforePrintingAndWraps) {
  char text[] = "abc";
  EXPECT_EQ(threaddemo::worker(INT64_MAX, 1, 0, 0, 0, text), INT64_MIN);
  EXPECT_EQ(threaddemo::total, INT64_MIN);
  EXPECT_EQ(standin::written_to(standin::stdout_handle),
            "a=9223372036854775807 b=1 c=0 d=0 e=0 msg=abc\r\n");
  const auto *msg_write = find_call("WriteFile", 11);
  ASSERT_NE(msg_write, nullptr);
  EXPECT_NE(msg_write->args[1], word(text)); // written from msg's own block
}

TEST_F(Threaddemo, AFailedLaunchPrintsTheUntouchedGlobals) {
  heap::fail_next_create_thread();
  EXPECT_EQ(standin::run_until_exit([] { threaddemo_main(); }), std::optional<UINT>(0));
  EXPECT_EQ(standin::written_to(standin::stdout_handle), "result=0\r\nmsg=\r\n");
  const void *block = heap::allocations().at(0).first;
  EXPECT_EQ(heap::times_freed(block), 1u); // nobody else would free it
  EXPECT_EQ(find_call("WaitForSingleObject")->args[0], 0u);
  EXPECT_EQ(find_call("CloseHandle")->args[0], 0u);
  EXPECT_TRUE(heap::live_blocks().empty());
}

TEST_F(Threaddemo, AFailedBlockAllocationEndsWith1BeforeAnyThread) {
  heap::fail_malloc(1);
  EXPECT_EQ(standin::run_until_exit([] { threaddemo_main(); }), std::optional<UINT>(1));
  EXPECT_EQ(find_call("CreateThread"), nullptr);
}

} // namespace
