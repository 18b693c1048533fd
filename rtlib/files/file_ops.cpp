#include "platform.h"

// Whole-file operations: each returns the platform's success flag (nonzero = done).

extern "C" int64_t rt_delete_file(const char *path) {
  RT_CHECK(text, "path", path);
  return DeleteFileA(path);
}

extern "C" int64_t rt_move_file(const char *existing, const char *target) {
  RT_CHECK(text, "existing", existing);
  RT_CHECK(text, "target", target);
  return MoveFileA(existing, target);
}

// Any nonzero 64-bit flag counts as "fail if the target exists", also one whose low 32 bits
// are all zero.
extern "C" int64_t rt_copy_file(const char *existing, const char *target, int64_t fail_if_exists) {
  RT_CHECK(text, "existing", existing);
  RT_CHECK(text, "target", target);
  return CopyFileA(existing, target, fail_if_exists != 0 ? TRUE : FALSE);
}

extern "C" int64_t rt_set_attributes(const char *path, int64_t attributes) {
  RT_CHECK(text, "path", path);
  return SetFileAttributesA(path, static_cast<DWORD>(static_cast<uint64_t>(attributes)));
}
