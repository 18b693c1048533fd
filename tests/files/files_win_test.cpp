// File and directory routines on the real platform, in a temporary folder of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "rtlib.h"
#include "temp_folder.h"

namespace {

class Files : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.ok()) << "no temporary folder";
  }
  TempFolder folder;
};

void *const invalid = INVALID_HANDLE_VALUE;

TEST_F(Files, OpenReadGivesAHandleOrOneWithTheVariableUntouched) {
  const std::string path = folder / "ten.bin";
  ASSERT_TRUE(TempFolder::write(path, "0123456789"));
  void *handle = nullptr;
  EXPECT_EQ(rt_open_read(12345, path.c_str(), &handle), 0);
  EXPECT_NE(handle, nullptr);
  EXPECT_NE(handle, invalid);
  // Shared for reading and writing: the file can be opened again alongside, also for writing.
  const HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(writer, INVALID_HANDLE_VALUE);
  CloseHandle(writer);
  EXPECT_EQ(rt_close(handle), 0);

  for (const std::string &missing :
       {folder / "absent.txt", folder / "no\\such\\dir.txt", folder.path()}) {
    void *zero = nullptr;
    EXPECT_EQ(rt_open_read(0, missing.c_str(), &zero), 1) << missing;
    EXPECT_EQ(zero, nullptr) << missing;
    void *marked = reinterpret_cast<void *>(uintptr_t{0x5A5A});
    EXPECT_EQ(rt_open_read(0, missing.c_str(), &marked), 1) << missing;
    EXPECT_EQ(marked, reinterpret_cast<void *>(uintptr_t{0x5A5A})) << missing;
  }
  // Opening never creates the file.
  EXPECT_FALSE(TempFolder::exists(folder / "absent.txt"));
}

TEST_F(Files, SeekAndReadOnATenByteFile) {
  const std::string path = folder / "ten.bin";
  ASSERT_TRUE(TempFolder::write(path, "0123456789"));
  void *h = nullptr;
  ASSERT_EQ(rt_open_read(0, path.c_str(), &h), 0);
  char buffer[32] = {};

  EXPECT_EQ(rt_seek_origin(h, 7, -7, 2), 10); // end: the size, whatever the ignored arguments
  EXPECT_EQ(rt_read_checked(h, buffer, sizeof buffer), 0);
  EXPECT_EQ(rt_read_unchecked(h, buffer, sizeof buffer), 0);
  EXPECT_EQ(rt_seek_origin(h, 0, 0, 1), 10); // current

  EXPECT_EQ(rt_seek_origin(h, 99, 99, 0), 0); // start: the next read begins at the first byte
  EXPECT_EQ(rt_read_checked(h, buffer, 4), 4);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(rt_seek_origin(h, 0, 0, 1), 4);
  EXPECT_EQ(rt_read_unchecked(h, buffer, sizeof buffer), 6);
  EXPECT_EQ(std::string(buffer, 6), "456789");
  EXPECT_EQ(rt_read_checked(h, buffer, sizeof buffer), 0);
  EXPECT_EQ(rt_read_unchecked(h, buffer, sizeof buffer), 0);

  // Only the low 32 bits of a count reach the platform: 2^32 + 3 reads 3 bytes.
  EXPECT_EQ(rt_seek_origin(h, 0, 0, 0), 0);
  EXPECT_EQ(rt_read_checked(h, buffer, 0x100000003), 3);
  EXPECT_EQ(std::string(buffer, 3), "012");

  EXPECT_EQ(rt_seek_origin(h, 0, 0, 3), 0xFFFFFFFF); // no such origin
  EXPECT_EQ(rt_close(h), 0);
}

TEST_F(Files, InvalidAndClosedHandlesGiveTheFailureResults) {
  const std::string path = folder / "closed.bin";
  ASSERT_TRUE(TempFolder::write(path, "abc"));
  void *closed = nullptr;
  ASSERT_EQ(rt_open_read(0, path.c_str(), &closed), 0);
  ASSERT_EQ(rt_close(closed), 0);
  char buffer[8];
  for (void *h : {invalid, closed, static_cast<void *>(nullptr)}) {
    EXPECT_EQ(rt_read_checked(h, buffer, sizeof buffer), 0) << h;
    EXPECT_EQ(rt_read_unchecked(h, buffer, sizeof buffer), 0) << h;
    EXPECT_EQ(rt_write_checked(h, "x", 1), 0) << h;
    EXPECT_EQ(rt_write_unchecked(h, "x", 1), 0) << h;
    EXPECT_EQ(rt_seek_origin(h, 0, 0, 0), 0xFFFFFFFF) << h;
    EXPECT_EQ(rt_flush(h), 0) << h;
    EXPECT_EQ(rt_set_eof(h), 0) << h;
  }
  EXPECT_EQ(rt_close(nullptr), 0);
}

TEST_F(Files, WriteFlushAndSetEnd) {
  const std::string path = folder / "out.txt";
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(rt_write_checked(file, "abc", 3), 3);
  EXPECT_EQ(rt_write_unchecked(file, "defg", 4), 0); // written all the same
  EXPECT_EQ(rt_write_checked(file, "", 0), 0);
  EXPECT_NE(rt_flush(file), 0);
  EXPECT_EQ(TempFolder::read(path), "abcdefg");
  EXPECT_EQ(rt_seek_origin(file, 0, 0, 2), 7);

  // Cut the file at position 3, then at the start.
  ASSERT_EQ(SetFilePointer(file, 3, nullptr, FILE_BEGIN), 3u);
  EXPECT_EQ(rt_set_eof(file), 0);
  EXPECT_EQ(rt_seek_origin(file, 0, 0, 2), 3);
  EXPECT_EQ(TempFolder::read(path), "abc");
  EXPECT_EQ(rt_seek_origin(file, 0, 0, 0), 0);
  EXPECT_EQ(rt_set_eof(file), 0);
  EXPECT_EQ(TempFolder::read(path), "");
  EXPECT_EQ(rt_close(file), 0);

  // A handle open for reading only cannot be written: checked reports 0, nothing lands.
  ASSERT_TRUE(TempFolder::write(path, "keep"));
  void *reader = nullptr;
  ASSERT_EQ(rt_open_read(0, path.c_str(), &reader), 0);
  EXPECT_EQ(rt_write_checked(reader, "zz", 2), 0);
  EXPECT_EQ(rt_close(reader), 0);
  EXPECT_EQ(TempFolder::read(path), "keep");
}

TEST_F(Files, DeleteMoveAndCopy) {
  const std::string a = folder / "a.txt", b = folder / "b.txt", c = folder / "c.txt";
  ASSERT_TRUE(TempFolder::write(a, "first"));

  EXPECT_NE(rt_copy_file(a.c_str(), b.c_str(), 1), 0); // no target yet
  EXPECT_EQ(TempFolder::read(b), "first");
  ASSERT_TRUE(TempFolder::write(a, "second"));
  EXPECT_EQ(rt_copy_file(a.c_str(), b.c_str(), 1), 0);           // target exists: refused
  EXPECT_EQ(rt_copy_file(a.c_str(), b.c_str(), 0x100000000), 0); // any nonzero flag refuses
  EXPECT_EQ(TempFolder::read(b), "first");
  EXPECT_NE(rt_copy_file(a.c_str(), b.c_str(), 0), 0); // replaced
  EXPECT_EQ(TempFolder::read(b), "second");
  EXPECT_EQ(rt_copy_file((folder / "none").c_str(), c.c_str(), 0), 0);

  EXPECT_NE(rt_move_file(b.c_str(), c.c_str()), 0);
  EXPECT_FALSE(TempFolder::exists(b));
  EXPECT_EQ(TempFolder::read(c), "second");
  EXPECT_EQ(rt_move_file(a.c_str(), c.c_str()), 0); // the target exists
  EXPECT_EQ(rt_move_file(b.c_str(), a.c_str()), 0); // the source is gone

  EXPECT_NE(rt_delete_file(c.c_str()), 0);
  EXPECT_FALSE(TempFolder::exists(c));
  EXPECT_EQ(rt_delete_file(c.c_str()), 0);
}

TEST_F(Files, Attributes) {
  const std::string path = folder / "attr.txt";
  ASSERT_TRUE(TempFolder::write(path, "x"));
  EXPECT_NE(rt_set_attributes(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(rt_delete_file(path.c_str()), 0); // read-only
  EXPECT_NE(rt_set_attributes(path.c_str(), FILE_ATTRIBUTE_NORMAL), 0);
  EXPECT_FALSE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_NE(rt_delete_file(path.c_str()), 0);
  EXPECT_EQ(rt_set_attributes(path.c_str(), FILE_ATTRIBUTE_NORMAL), 0); // gone
}

TEST_F(Files, MakeChangeAndRemoveDirectories) {
  char original[MAX_PATH + 1] = {};
  ASSERT_NE(GetCurrentDirectoryA(sizeof original, original), 0u);
  const std::string sub = folder / "sub";

  EXPECT_NE(rt_make_dir(sub.c_str(), nullptr), 0);
  EXPECT_EQ(rt_make_dir(sub.c_str(), nullptr), 0); // exists already
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, FALSE};
  EXPECT_NE(rt_make_dir((sub + "\\inner").c_str(), &security), 0);
  EXPECT_EQ(rt_make_dir((folder / "x\\y").c_str(), nullptr), 0); // no parent

  EXPECT_NE(rt_change_dir(sub.c_str()), 0);
  char buffer[MAX_PATH + 1] = {};
  for (auto routine : {rt_current_dir, rt_current_dir_alt}) {
    memset(buffer, 0, sizeof buffer);
    const int64_t length = routine(sizeof buffer, buffer);
    EXPECT_EQ(length, static_cast<int64_t>(strlen(buffer)));
    EXPECT_EQ(lstrcmpiA(buffer, sub.c_str()), 0) << buffer;
    EXPECT_EQ(routine(1, buffer), length + 1); // too small: the size needed, with the NUL
    EXPECT_EQ(routine(length, buffer), length + 1);
    EXPECT_EQ(routine(length + 1, buffer), length);
  }
  EXPECT_EQ(rt_change_dir((folder / "absent").c_str()), 0);
  EXPECT_EQ(lstrcmpiA((std::string(buffer)).c_str(), sub.c_str()), 0);
  EXPECT_NE(rt_change_dir(original), 0);

  EXPECT_EQ(rt_remove_dir(sub.c_str()), 0); // not empty
  EXPECT_NE(rt_remove_dir((sub + "\\inner").c_str()), 0);
  EXPECT_NE(rt_remove_dir(sub.c_str()), 0);
  EXPECT_FALSE(TempFolder::exists(sub));
  EXPECT_EQ(rt_remove_dir(sub.c_str()), 0);
}

} // namespace
