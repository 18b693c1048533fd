#include "platform.h"

// File input and output on raw platform handles. The runtime keeps no table of open files and
// no buffers; each routine is one platform call and differs from its siblings only in what it
// returns. Byte counts reach the platform as their low 32 bits; the counts that come back are
// unsigned 32-bit values, zero-extended.

namespace {
DWORD low32(int64_t value) {
  return static_cast<DWORD>(static_cast<uint64_t>(value));
}
int64_t widen(DWORD value) {
  return static_cast<int64_t>(static_cast<uint64_t>(value));
}

// The four reads and writes: one ReadFile or WriteFile each. A checked one returns the count
// moved, or 0 when the platform reports failure; an unchecked read returns the count moved
// whatever the platform reports, an unchecked write always 0.
enum class Transfer { read_checked, read_unchecked, write_checked, write_unchecked };

[[gnu::noinline]] int64_t transfer(void *handle, void *buffer, int64_t count, Transfer way) {
  DWORD moved = 0;
  const bool reading = way == Transfer::read_checked || way == Transfer::read_unchecked;
  const BOOL done = reading ? ReadFile(handle, buffer, low32(count), &moved, nullptr)
                            : WriteFile(handle, buffer, low32(count), &moved, nullptr);
  if (way == Transfer::write_unchecked ||
      (!done && (way == Transfer::read_checked || way == Transfer::write_checked)))
    return 0;
  return widen(moved);
}
} // namespace

// On failure the caller's handle variable is left exactly as it was.
extern "C" int64_t rt_open_read(int64_t /*ignored*/, const char *path, void **handle) {
  RT_CHECK(text, "path", path);
  RT_CHECK(writable, "handle", handle, sizeof *handle);
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 1;
  *handle = file;
  return 0;
}

extern "C" int64_t rt_close(void *handle) {
  (void)CloseHandle(handle);
  return 0;
}

extern "C" RT_LEAF int64_t rt_read_checked(void *handle, void *buffer, int64_t count) {
  RT_CHECK(writable, "buffer", buffer, low32(count));
  return transfer(handle, buffer, count, Transfer::read_checked);
}

extern "C" RT_LEAF int64_t rt_read_unchecked(void *handle, void *buffer, int64_t count) {
  RT_CHECK(writable, "buffer", buffer, low32(count));
  return transfer(handle, buffer, count, Transfer::read_unchecked);
}

extern "C" RT_LEAF int64_t rt_write_checked(void *handle, const void *buffer, int64_t count) {
  RT_CHECK(readable, "buffer", buffer, low32(count));
  return transfer(handle, const_cast<void *>(buffer), count, Transfer::write_checked);
}

extern "C" RT_LEAF int64_t rt_write_unchecked(void *handle, const void *buffer, int64_t count) {
  RT_CHECK(readable, "buffer", buffer, low32(count));
  return transfer(handle, const_cast<void *>(buffer), count, Transfer::write_unchecked);
}

// Moves by 0 bytes from the origin (0 start, 1 current, 2 end) and returns the low 32 bits of
// the new position, or 0xFFFFFFFF when the platform refuses.
extern "C" int64_t rt_seek_origin(void *handle, int64_t /*ignored*/, int64_t /*ignored*/,
                                  int64_t origin) {
  return widen(SetFilePointer(handle, 0, nullptr, low32(origin)));
}

extern "C" int64_t rt_flush(void *handle) {
  return FlushFileBuffers(handle);
}

extern "C" int64_t rt_set_eof(void *handle) {
  (void)SetEndOfFile(handle);
  return 0;
}
