// Platform calls of the file and directory routines and their result protocols, with the
// platform's answers scripted through the stand-in.
#include <gtest/gtest.h>

#include <climits>

#include "rtlib.h"
#include "stand_in_services.h"

namespace {

using standin::Names;
using standin::word;
using standin::Words;
void *const file = reinterpret_cast<void *>(uintptr_t{0xABC0});
const uint64_t invalid = word(INVALID_HANDLE_VALUE);

TEST(OpenReadCalls, OpensExistingForSharedReading) {
  standin::reset_all();
  void *handle = nullptr;
  EXPECT_EQ(rt_open_read(77, "in.txt", &handle), 0);
  EXPECT_EQ(handle, standin::file_handle);
  ASSERT_EQ(standin::call_names(), Names{"CreateFileA"});
  const auto &call = standin::calls()[0];
  EXPECT_EQ(call.bytes, "in.txt");
  EXPECT_EQ(Words(call.args.begin() + 1, call.args.end()),
            (Words{0x80000000u, 3, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, 0}));
}

TEST(OpenReadCalls, FailureReturnsOneAndLeavesTheVariable) {
  for (void *start : {static_cast<void *>(nullptr), file}) {
    standin::reset_all();
    standin::script_results("CreateFileA", {invalid});
    void *handle = start;
    EXPECT_EQ(rt_open_read(0, "missing", &handle), 1);
    EXPECT_EQ(handle, start);
  }
  // Any other value is a handle, also 0.
  standin::reset_all();
  standin::script_results("CreateFileA", {0});
  void *handle = file;
  EXPECT_EQ(rt_open_read(0, "x", &handle), 0);
  EXPECT_EQ(handle, nullptr);
}

TEST(CloseAndSetEofCalls, AlwaysZero) {
  for (uint64_t flag : {0, 1}) {
    standin::reset_all();
    standin::script_results("CloseHandle", {flag});
    standin::script_results("SetEndOfFile", {flag});
    EXPECT_EQ(rt_close(file), 0);
    EXPECT_EQ(rt_set_eof(file), 0);
    ASSERT_EQ(standin::call_names(), (Names{"CloseHandle", "SetEndOfFile"}));
    EXPECT_EQ(standin::calls()[0].args, Words{word(file)});
    EXPECT_EQ(standin::calls()[1].args, Words{word(file)});
  }
}

TEST(FlushCalls, ReturnsThePlatformFlag) {
  for (uint64_t flag : {0, 1}) {
    standin::reset_all();
    standin::script_results("FlushFileBuffers", {flag});
    EXPECT_EQ(rt_flush(file), static_cast<int64_t>(flag));
    EXPECT_EQ(standin::calls()[0].args, Words{word(file)});
  }
}

// Which count each read routine returns for a platform flag and reported count.
TEST(ReadCalls, ResultTable) {
  const struct {
    BOOL ok;
    DWORD reported;
    int64_t checked, unchecked;
  } cases[] = {
      {1, 10, 10, 10},
      {1, 0, 0, 0},                             // end of file
      {0, 0, 0, 0},                             // failure
      {0, 3, 0, 3},                             // unchecked trusts the count alone
      {1, 0xFFFFFFFFu, 0xFFFFFFFF, 0xFFFFFFFF}, // zero-extended, not sign-extended
      {1, 0x80000000u, 0x80000000, 0x80000000},
  };
  for (const auto &c : cases) {
    char buffer[16];
    standin::reset_all();
    standin::script_results("ReadFile", {word(c.ok), word(c.ok)});
    standin::script_results("ReadFile.count", {c.reported, c.reported});
    EXPECT_EQ(rt_read_checked(file, buffer, sizeof buffer), c.checked) << c.ok << " " << c.reported;
    EXPECT_EQ(rt_read_unchecked(file, buffer, sizeof buffer), c.unchecked)
        << c.ok << " " << c.reported;
  }
}

TEST(ReadCalls, ArgumentsAndCountCutTo32Bits) {
  const struct {
    int64_t count;
    uint64_t passed;
  } cases[] = {{5, 5}, {0, 0}, {0x100000005, 5}, {-1, 0xFFFFFFFFu}};
  for (const auto &c : cases) {
    char buffer[1];
    standin::reset_all();
    rt_read_checked(file, buffer, c.count);
    rt_read_unchecked(file, buffer, c.count);
    ASSERT_EQ(standin::call_names(), (Names{"ReadFile", "ReadFile"}));
    for (const auto &call : standin::calls()) {
      EXPECT_EQ(call.args[0], word(file));
      EXPECT_EQ(call.args[1], word(buffer));
      EXPECT_EQ(call.args[2], c.passed) << c.count;
      EXPECT_NE(call.args[3], 0u); // a count variable of its own
      EXPECT_EQ(call.args[4], 0u); // no overlapped structure
    }
  }
}

TEST(WriteCalls, ResultTable) {
  const char data[] = "0123456789";
  for (BOOL ok : {1, 0}) {
    standin::reset_all();
    standin::script_write_results({ok, ok});
    EXPECT_EQ(rt_write_checked(file, data, 10), ok ? 10 : 0);
    EXPECT_EQ(rt_write_unchecked(file, data, 10), 0);
    ASSERT_EQ(standin::call_names(), (Names{"WriteFile", "WriteFile"}));
    for (const auto &call : standin::calls()) {
      EXPECT_EQ(call.args[0], word(file));
      EXPECT_EQ(call.bytes, "0123456789");
      EXPECT_NE(call.args[3], 0u);
      EXPECT_EQ(call.args[4], 0u);
    }
  }
  // A failure that still reports bytes written: the checked write reports the failure.
  standin::reset_all();
  standin::script_write_results({0, 0});
  standin::script_results("WriteFile.count", {4, 4});
  EXPECT_EQ(rt_write_checked(file, data, 10), 0);
  EXPECT_EQ(rt_write_unchecked(file, data, 10), 0);
  standin::reset_all();
  standin::script_write_results({1});
  EXPECT_EQ(rt_write_checked(file, data, 0x100000003), 3);
  EXPECT_EQ(standin::calls()[0].args[2], 3u);
}

TEST(SeekCalls, ZeroDistanceFromTheOriginPositionZeroExtended) {
  const struct {
    int64_t origin;
    DWORD position;
    int64_t result;
  } cases[] = {
      {0, 0, 0},
      {1, 4, 4},
      {2, 10, 10},
      {2, 0xFFFFFFFFu, 0xFFFFFFFF}, // failure, as the platform reports it
      {2, 0x80000000u, 0x80000000},
      {0x100000001, 4, 4}, // origin cut to 32 bits
  };
  for (const auto &c : cases) {
    standin::reset_all();
    standin::script_results("SetFilePointer", {c.position});
    EXPECT_EQ(rt_seek_origin(file, 123, -456, c.origin), c.result) << c.origin;
    ASSERT_EQ(standin::call_names(), Names{"SetFilePointer"});
    EXPECT_EQ(standin::calls()[0].args,
              (Words{word(file), 0, 0, static_cast<uint32_t>(static_cast<uint64_t>(c.origin))}));
  }
}

// The one-call operations: each routine passes its arguments through and returns the flag.
TEST(FileOperationCalls, ArgumentsAndFlag) {
  const char *a = "a.txt";
  const char *b = "b.txt";
  int security = 0;
  const struct {
    const char *name;
    std::function<int64_t()> call;
    Words args;
  } cases[] = {
      {"DeleteFileA", [&] { return rt_delete_file(a); }, {word(a)}},
      {"MoveFileA", [&] { return rt_move_file(a, b); }, {word(a), word(b)}},
      {"CopyFileA", [&] { return rt_copy_file(a, b, 0); }, {word(a), word(b), 0}},
      {"CopyFileA", [&] { return rt_copy_file(a, b, 1); }, {word(a), word(b), 1}},
      {"CopyFileA", [&] { return rt_copy_file(a, b, 0x100000000); }, {word(a), word(b), 1}},
      {"CopyFileA", [&] { return rt_copy_file(a, b, -1); }, {word(a), word(b), 1}},
      {"SetFileAttributesA", [&] { return rt_set_attributes(a, 0x21); }, {word(a), 0x21}},
      {"SetFileAttributesA", [&] { return rt_set_attributes(a, 0x100000080); }, {word(a), 0x80}},
      {"SetFileAttributesA",
       [&] { return rt_set_attributes(a, static_cast<int64_t>(0xFFFFFFFF00002100u)); },
       {word(a), 0x2100}},
      {"CreateDirectoryA", [&] { return rt_make_dir(a, nullptr); }, {word(a), 0}},
      {"CreateDirectoryA", [&] { return rt_make_dir(a, &security); }, {word(a), word(&security)}},
      {"SetCurrentDirectoryA", [&] { return rt_change_dir(a); }, {word(a)}},
      {"RemoveDirectoryA", [&] { return rt_remove_dir(a); }, {word(a)}},
  };
  for (const auto &c : cases) {
    for (uint64_t flag : {0, 1}) {
      standin::reset_all();
      standin::script_results(c.name, {flag});
      EXPECT_EQ(c.call(), static_cast<int64_t>(flag)) << c.name;
      ASSERT_EQ(standin::call_names(), Names{c.name});
      EXPECT_EQ(standin::calls()[0].args, c.args) << c.name;
    }
  }
}

TEST(CurrentDirCalls, BothRoutinesPassSizeAndBufferAndZeroExtend) {
  for (auto routine : {rt_current_dir, rt_current_dir_alt}) {
    char buffer[64];
    standin::reset_all();
    EXPECT_EQ(routine(sizeof buffer, buffer), 7);
    EXPECT_STREQ(buffer, "C:\\work");
    EXPECT_EQ(routine(1, buffer), 8); // the size needed, counting the NUL
    standin::script_results("GetCurrentDirectoryA", {0, 0xFFFFFFFFu});
    EXPECT_EQ(routine(1, buffer), 0);
    EXPECT_EQ(routine(1, buffer), 0xFFFFFFFF);
    EXPECT_EQ(routine(0x100000001, buffer), 8);
    ASSERT_EQ(standin::calls().size(), 5u);
    EXPECT_EQ(standin::calls()[0].args, (Words{64, word(buffer)}));
    EXPECT_EQ(standin::calls()[1].args, (Words{1, word(buffer)}));
    EXPECT_EQ(standin::calls()[4].args, (Words{1, word(buffer)}));
  }
}

} // namespace
