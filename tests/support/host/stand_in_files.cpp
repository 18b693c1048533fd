// File and directory calls. Unless scripted: CreateFileA hands out file_handle, ReadFile
// succeeds at end of file (0 bytes), SetFilePointer reports position 0, GetCurrentDirectoryA
// reports "C:\work", and every other call succeeds. Paths are kept with the call.
#include "stand_in_services.h"

using standin::record;
using standin::word;

namespace {
BOOL flag(const char *function) {
  return static_cast<BOOL>(standin::next_result(function, 1));
}
std::string text(LPCSTR path) {
  return path ? path : "";
}
} // namespace

extern "C" {

HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                   DWORD disposition, DWORD flags, HANDLE template_file) {
  record("CreateFileA", {word(path), word(access), word(share), word(security), word(disposition),
                         word(flags), word(template_file)})
      .bytes = text(path);
  return reinterpret_cast<HANDLE>(standin::next_result("CreateFileA", word(standin::file_handle)));
}

BOOL CloseHandle(HANDLE handle) {
  record("CloseHandle", {word(handle)});
  return flag("CloseHandle");
}

// A scripted count is reported whatever the flag; up to the requested count of 'r' bytes
// land in the buffer.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD got, LPOVERLAPPED overlapped) {
  record("ReadFile", {word(file), word(buffer), word(count), word(got), word(overlapped)});
  const BOOL ok = flag("ReadFile");
  const DWORD reported = static_cast<DWORD>(standin::next_result("ReadFile.count", 0));
  memset(buffer, 'r', reported < count ? reported : count);
  if (got)
    *got = reported;
  return ok;
}

DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distance_high, DWORD method) {
  record("SetFilePointer", {word(file), word(distance), word(distance_high), word(method)});
  return static_cast<DWORD>(standin::next_result("SetFilePointer", 0));
}

BOOL FlushFileBuffers(HANDLE file) {
  record("FlushFileBuffers", {word(file)});
  return flag("FlushFileBuffers");
}

BOOL SetEndOfFile(HANDLE file) {
  record("SetEndOfFile", {word(file)});
  return flag("SetEndOfFile");
}

BOOL DeleteFileA(LPCSTR path) {
  record("DeleteFileA", {word(path)}).bytes = text(path);
  return flag("DeleteFileA");
}

BOOL MoveFileA(LPCSTR existing, LPCSTR target) {
  record("MoveFileA", {word(existing), word(target)});
  return flag("MoveFileA");
}

BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL fail_if_exists) {
  record("CopyFileA", {word(existing), word(target), word(fail_if_exists)});
  return flag("CopyFileA");
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
  record("SetFileAttributesA", {word(path), word(attributes)});
  return flag("SetFileAttributesA");
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security) {
  record("CreateDirectoryA", {word(path), word(security)});
  return flag("CreateDirectoryA");
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  record("SetCurrentDirectoryA", {word(path)});
  return flag("SetCurrentDirectoryA");
}

BOOL RemoveDirectoryA(LPCSTR path) {
  record("RemoveDirectoryA", {word(path)});
  return flag("RemoveDirectoryA");
}

// Like the platform: the length without the NUL when it fits, else the size needed with it.
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  record("GetCurrentDirectoryA", {word(size), word(buffer)});
  static const char current[] = "C:\\work";
  const DWORD needed = sizeof current;
  if (size < needed)
    return static_cast<DWORD>(standin::next_result("GetCurrentDirectoryA", needed));
  memcpy(buffer, current, needed);
  return static_cast<DWORD>(standin::next_result("GetCurrentDirectoryA", needed - 1));
}
}
