// A temporary folder of a test's own: a fresh, uniquely named folder under the platform's
// temporary path, removed with everything in it when the test ends.
#pragma once

#include <windows.h>

#include <string>

class TempFolder {
public:
  TempFolder() {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::string candidate =
          std::string(base) + "rtlib_" + std::to_string(GetCurrentProcessId()) + "_" +
          std::to_string(GetTickCount64()) + "_" + std::to_string(++counter);
      if (CreateDirectoryA(candidate.c_str(), nullptr))
        path_ = candidate;
    }
  }
  ~TempFolder() {
    if (!path_.empty())
      remove_tree(path_);
  }
  TempFolder(const TempFolder &) = delete;
  TempFolder &operator=(const TempFolder &) = delete;

  bool ok() const {
    return !path_.empty();
  }
  const std::string &path() const {
    return path_;
  }
  // Full path of a name inside the folder.
  std::string operator/(const std::string &name) const {
    return path_ + "\\" + name;
  }

  // Creates (or replaces) a file with the given bytes.
  static bool write(const std::string &path, const std::string &bytes) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return false;
    DWORD put = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(file);
    return ok && put == bytes.size();
  }
  // Whole contents of a file, or "<missing>".
  static std::string read(const std::string &path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
      return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
      bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
  }
  static bool exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

private:
  static void remove_tree(const std::string &dir) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
          continue;
        const std::string full = dir + "\\" + name;
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          remove_tree(full);
        else
          DeleteFileA(full.c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
  }
  std::string path_;
};
