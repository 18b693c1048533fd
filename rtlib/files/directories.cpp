#include "platform.h"

// Directory operations. The make, change and remove routines return the platform's success
// flag; the current-directory routines return its character count, zero-extended.

extern "C" int64_t rt_make_dir(const char *path, void *security) {
  RT_CHECK(text, "path", path);
  return CreateDirectoryA(path, static_cast<LPSECURITY_ATTRIBUTES>(security));
}

extern "C" int64_t rt_change_dir(const char *path) {
  RT_CHECK(text, "path", path);
  return SetCurrentDirectoryA(path);
}

extern "C" int64_t rt_remove_dir(const char *path) {
  RT_CHECK(text, "path", path);
  return RemoveDirectoryA(path);
}

// Characters stored without the NUL; when the buffer is too small, the size needed with the
// NUL; 0 on failure. The size reaches the platform as its low 32 bits.
extern "C" int64_t rt_current_dir(int64_t size, char *buffer) {
  RT_CHECK(writable, "buffer", buffer, static_cast<uint32_t>(static_cast<uint64_t>(size)));
  const DWORD length =
      GetCurrentDirectoryA(static_cast<DWORD>(static_cast<uint64_t>(size)), buffer);
  return static_cast<int64_t>(static_cast<uint64_t>(length));
}

// A second name for the same routine: the same arguments, call and result.
extern "C" int64_t rt_current_dir_alt(int64_t size, char *buffer)
    __attribute__((alias("rt_current_dir")));
