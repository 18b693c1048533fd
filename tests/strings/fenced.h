// Bytes of a test text with nothing readable behind them: on Windows they end directly before
// a no-access page, on the host they fill a heap block of exactly their size, past which
// AddressSanitizer reports every read. A routine that reads one byte beyond the view faults.
#pragma once

#include <cstring>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdlib>
#endif

#include "rtlib.h"

struct Fenced {
  char *base = nullptr;
  StrView view{};
  explicit Fenced(const std::string &s) {
#if defined(_WIN32)
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const SIZE_T page = info.dwPageSize;
    base = static_cast<char *>(
        VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    if (base == nullptr || !VirtualProtect(base + page, page, PAGE_NOACCESS, &old))
      return;
    char *bytes = base + page - s.size();
#else
    base = static_cast<char *>(malloc(s.size() == 0 ? 1 : s.size()));
    char *bytes = s.empty() ? base + 1 : base;
#endif
    memcpy(bytes, s.data(), s.size());
    view = StrView{bytes, s.size()};
  }
  ~Fenced() {
#if defined(_WIN32)
    if (base != nullptr)
      VirtualFree(base, 0, MEM_RELEASE);
#else
    free(base);
#endif
  }
  Fenced(const Fenced &) = delete;
  Fenced &operator=(const Fenced &) = delete;
  StrView *v() {
    return &view;
  }
  // Whether the byte behind the view is really out of reach.
  bool fenced() const {
#if defined(_WIN32)
    MEMORY_BASIC_INFORMATION behind;
    return view.data != nullptr &&
           VirtualQuery(view.data + view.length, &behind, sizeof behind) == sizeof behind &&
           behind.Protect == PAGE_NOACCESS;
#else
    return view.data != nullptr;
#endif
  }
};
