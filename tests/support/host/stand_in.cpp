#include "stand_in.h"

#include "capture.h"
#include "stand_in_services.h"

#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <map>
#include <unistd.h>

namespace standin {
namespace {
struct State {
  std::vector<Call> calls;
  HANDLE stdout_value = stdout_handle;
  std::map<HANDLE, std::string> files;
  std::deque<BOOL> write_results;
};
State &state() {
  static State s;
  return s;
}
} // namespace

void reset() {
  state() = State{};
}
const std::vector<Call> &calls() {
  return state().calls;
}
std::vector<std::string> call_names() {
  std::vector<std::string> names;
  for (const Call &c : state().calls)
    names.push_back(c.name);
  return names;
}
Call &record(const char *name, std::vector<uint64_t> args) {
  state().calls.push_back(Call{name, std::move(args), {}});
  return state().calls.back();
}
void set_stdout(HANDLE handle) {
  state().stdout_value = handle;
}
std::string written_to(HANDLE handle) {
  return state().files[handle];
}
void script_write_results(std::deque<BOOL> results) {
  state().write_results = std::move(results);
}
namespace {
thread_local std::jmp_buf *exit_target = nullptr;
thread_local UINT exit_code = 0;
} // namespace

std::optional<UINT> run_until_exit(const std::function<void()> &fn) {
  std::jmp_buf target;
  std::jmp_buf *const saved = exit_target;
  exit_target = &target;
  if (setjmp(target) == 0) {
    fn();
    exit_target = saved;
    return std::nullopt;
  }
  exit_target = saved;
  return exit_code;
}
std::string glibc_format(const char *format) {
  std::string translated;
  for (const char *p = format; *p; ++p) {
    if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
      translated += "ll";
      p += 2;
    } else {
      translated += *p;
    }
  }
  return translated;
}
} // namespace standin

std::string capture_output(const std::function<void()> &fn) {
  standin::reset();
  fn();
  return standin::written_to(standin::stdout_handle);
}

using standin::record;
using standin::word;

extern "C" {

PVOID AddVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
  record("AddVectoredExceptionHandler", {word(first), word(handler)});
  return reinterpret_cast<PVOID>(handler);
}

void ExitProcess(UINT code) {
  record("ExitProcess", {word(code)});
  if (standin::exit_target != nullptr) {
    standin::exit_code = code;
    std::longjmp(*standin::exit_target, 1);
  }
  fflush(nullptr);
  // The process status keeps only the low 8 bits: a failure code whose low byte is 0 (the
  // checked runtime's 0xE0C4EC00) ends with status 1, not as a success.
  _exit(code != 0 && (code & 0xFF) == 0 ? 1 : static_cast<int>(code & 0xFF));
}

HANDLE GetStdHandle(DWORD which) {
  record("GetStdHandle", {word(which)});
  if (which == STD_ERROR_HANDLE)
    return standin::stderr_handle;
  return which == STD_OUTPUT_HANDLE ? standin::state().stdout_value : nullptr;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped) {
  standin::Call &call =
      record("WriteFile", {word(file), word(buffer), word(count), word(written), word(overlapped)});
  call.bytes.assign(static_cast<const char *>(buffer), count);
  auto &s = standin::state();
  BOOL ok;
  if (!s.write_results.empty()) {
    ok = s.write_results.front();
    s.write_results.pop_front();
  } else {
    ok = (file == s.stdout_value || file == standin::stderr_handle) && file != nullptr &&
         file != INVALID_HANDLE_VALUE;
  }
  if (ok)
    s.files[file] += call.bytes;
  // What goes to standard error reaches this process's own as well, where a test run sees it.
  if (ok && file == standin::stderr_handle)
    fwrite(call.bytes.data(), 1, call.bytes.size(), stderr);
  if (written) // a failed write reports 0 bytes unless a count is scripted
    *written = ok ? count : static_cast<DWORD>(standin::next_result("WriteFile.count", 0));
  return ok;
}

int _snprintf(char *buffer, size_t size, const char *format, ...) {
  const std::string translated = standin::glibc_format(format);
  record("_snprintf", {word(buffer), word(size), word(format)});
  va_list args;
  va_start(args, format);
  const int n = vsnprintf(buffer, size, translated.c_str(), args);
  va_end(args);
  // msvcrt reports truncation as -1 and leaves the buffer unterminated.
  return n >= 0 && static_cast<size_t>(n) <= size ? n : -1;
}

int _resetstkoflw(void) {
  record("_resetstkoflw", {});
  return 1;
}
}
