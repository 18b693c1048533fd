// Test-facing side of the host stand-in: every platform call the runtime makes is recorded
// with its arguments, in order, and some calls can be told what to return.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "rt_host_platform.h"

namespace standin {

// Expected call names and argument words, as tests write them.
using Names = std::vector<std::string>;
using Words = std::vector<uint64_t>;

struct Call {
  std::string name;
  std::vector<uint64_t> args;
  std::string bytes; // the bytes a write was given
};

// The handle GetStdHandle(STD_OUTPUT_HANDLE) returns unless told otherwise.
inline HANDLE const stdout_handle = reinterpret_cast<HANDLE>(uintptr_t{0x5700});

// The handle GetStdHandle(STD_ERROR_HANDLE) returns; writes to it succeed and are copied to this
// process's own standard error.
inline HANDLE const stderr_handle = reinterpret_cast<HANDLE>(uintptr_t{0x5702});

// Forgets all recorded calls and scripted results and restores the default behaviour.
void reset();
const std::vector<Call> &calls();
// The names of the recorded calls, in order.
std::vector<std::string> call_names();
// Records a call; used by the stand-in's own definitions.
Call &record(const char *name, std::vector<uint64_t> args);

// What GetStdHandle(STD_OUTPUT_HANDLE) returns.
void set_stdout(HANDLE handle);
// Everything written successfully to the given handle so far.
std::string written_to(HANDLE handle);
// Results for the next WriteFile calls, used up in order; afterwards a write succeeds exactly
// when its handle is the current standard output.
void script_write_results(std::deque<BOOL> results);

// Runs fn; when it ends the process through ExitProcess, returns the exit code instead of
// ending this process. Frames between here and ExitProcess must hold nothing to destroy.
std::optional<UINT> run_until_exit(const std::function<void()> &fn);

// The Windows formatters' "%I64d" is glibc's "%lld"; the rest of a format passes unchanged.
std::string glibc_format(const char *format);

template <typename T> uint64_t word(T value) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<uintptr_t>(value);
  else
    return static_cast<uint64_t>(value);
}

} // namespace standin
