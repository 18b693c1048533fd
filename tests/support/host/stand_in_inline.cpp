// Stand-in calls of the inline profile: msvcrt malloc/free/memset (through namespace
// rt_inline), lstr* and wsprintfA, threads, window procedures.
#include "stand_in_inline.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace standin::inline_profile {
namespace {
struct PendingThread {
  LPTHREAD_START_ROUTINE start = nullptr;
  LPVOID parameter = nullptr;
  std::optional<DWORD> exit_code;
};
struct State {
  std::map<const void *, size_t> live;
  std::map<const void *, size_t> freed;
  std::vector<std::pair<const void *, size_t>> allocations;
  size_t mallocs_until_failure = 0;
  bool fail_create_thread = false;
  uintptr_t next_thread = 0x7100;
  std::map<HANDLE, PendingThread> threads;
  std::map<HWND, LONG_PTR> user_data;
  LRESULT default_result = 0;
};
State &state() {
  static State s;
  return s;
}
} // namespace

void reset() {
  for (const auto &[block, size] : state().live)
    ::free(const_cast<void *>(block));
  state() = State{};
}
const std::map<const void *, size_t> &live_blocks() {
  return state().live;
}
const std::vector<std::pair<const void *, size_t>> &allocations() {
  return state().allocations;
}
size_t times_freed(const void *block) {
  const auto it = state().freed.find(block);
  return it == state().freed.end() ? 0 : it->second;
}
void fail_malloc(size_t nth) {
  state().mallocs_until_failure = nth;
}
void fail_next_create_thread() {
  state().fail_create_thread = true;
}
std::optional<DWORD> thread_exit_code(HANDLE thread) {
  const auto it = state().threads.find(thread);
  return it == state().threads.end() ? std::nullopt : it->second.exit_code;
}
void set_user_data(HWND window, LONG_PTR value) {
  state().user_data[window] = value;
}
void set_default_result(LRESULT result) {
  state().default_result = result;
}
} // namespace standin::inline_profile

using standin::record;
using standin::word;
namespace inl = standin::inline_profile;

namespace rt_inline {
void *malloc(size_t size) {
  record("malloc", {word(size)});
  auto &s = inl::state();
  if (s.mallocs_until_failure != 0 && --s.mallocs_until_failure == 0)
    return nullptr;
  // A request no real heap could meet fails as msvcrt's would, instead of upsetting ASan.
  if (size > (size_t{1} << 40))
    return nullptr;
  void *const block = ::malloc(size == 0 ? 1 : size);
  s.live[block] = size;
  s.allocations.emplace_back(block, size);
  return block;
}
void free(void *block) {
  standin::Call &call = record("free", {word(block)});
  auto &s = inl::state();
  const auto live = s.live.find(block);
  if (live != s.live.end()) {
    call.bytes.assign(static_cast<const char *>(block), live->second);
    s.live.erase(live);
  }
  if (block != nullptr)
    ++s.freed[block];
  ::free(block); // a second free of the same block is AddressSanitizer's to report
}
void *memset(void *block, int value, size_t size) {
  record("memset", {word(block), word(value), word(size)});
  return ::memset(block, value, size);
}
} // namespace rt_inline

extern "C" {

// Threads do not run at once: a thread runs, on the caller's thread, when it is waited for.
HANDLE CreateThread(SECURITY_ATTRIBUTES *security, SIZE_T stack_size, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, LPDWORD thread_id) {
  record("CreateThread", {word(security), word(stack_size), word(start), word(parameter),
                          word(flags), word(thread_id)});
  auto &s = inl::state();
  if (s.fail_create_thread) {
    s.fail_create_thread = false;
    return nullptr;
  }
  const HANDLE thread = reinterpret_cast<HANDLE>(s.next_thread);
  s.next_thread += 4;
  s.threads[thread] = inl::PendingThread{start, parameter, std::nullopt};
  if (thread_id != nullptr)
    *thread_id = static_cast<DWORD>(reinterpret_cast<uintptr_t>(thread));
  return thread;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  record("WaitForSingleObject", {word(handle), word(milliseconds)});
  auto &s = inl::state();
  const auto it = s.threads.find(handle);
  if (it == s.threads.end())
    return 0xFFFFFFFFu; // WAIT_FAILED
  if (!it->second.exit_code) {
    const DWORD code = it->second.start(it->second.parameter);
    inl::state().threads[handle].exit_code = code;
  }
  return 0;
}

int lstrlenA(LPCSTR text) {
  record("lstrlenA", {word(text)});
  return static_cast<int>(strlen(text));
}

LPSTR lstrcpynA(LPSTR target, LPCSTR source, int count) {
  record("lstrcpynA", {word(target), word(source), word(count)});
  if (count <= 0)
    return target;
  int i = 0;
  for (; i < count - 1 && source[i] != 0; ++i)
    target[i] = source[i];
  target[i] = 0;
  return target;
}

// user32's "%I64d" is glibc's "%lld"; its output never exceeds 1024 bytes.
int wsprintfA(LPSTR buffer, LPCSTR format, ...) {
  record("wsprintfA", {word(buffer), word(format)});
  const std::string translated = standin::glibc_format(format);
  va_list args;
  va_start(args, format);
  const int n = vsnprintf(buffer, 1025, translated.c_str(), args);
  va_end(args);
  return n;
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
  record("GetWindowLongPtrA", {word(window), word(index)});
  const auto &data = inl::state().user_data;
  const auto it = data.find(window);
  return index == GWLP_USERDATA && it != data.end() ? it->second : 0;
}

void PostQuitMessage(int code) {
  record("PostQuitMessage", {word(code)});
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM first, LPARAM second) {
  record("DefWindowProcA", {word(window), word(message), word(first), word(second)});
  return inl::state().default_result;
}
}
