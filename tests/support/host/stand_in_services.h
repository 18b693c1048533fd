// Test-facing side of the stand-ins for console control, files and directories, and process
// services: scripted results for those platform calls, and the console they pretend to have.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "stand_in.h"

namespace standin {

// Results for the next calls of the named platform function, used up in order; afterwards
// the function behaves as described beside its stand-in. "ReadFile.count" scripts the byte
// count a ReadFile reports (its flag is scripted under "ReadFile").
void script_results(const std::string &function, std::deque<uint64_t> results);
// Forgets scripts and restores the stand-in console; call together with standin::reset().
void reset_services();
// Both resets at once: a fresh platform for the next case.
inline void reset_all() {
  reset();
  reset_services();
}
// The next scripted result of a function, or the fallback when none is left.
uint64_t next_result(const std::string &function, uint64_t fallback);

// The one console there is: calls on any other handle fail, as on a redirected output.
inline HANDLE const console_handle = stdout_handle;
// The handle CreateFileA hands out unless scripted.
inline HANDLE const file_handle = reinterpret_cast<HANDLE>(uintptr_t{0xF11E});
// Screen buffer size GetConsoleScreenBufferInfo reports.
void set_console_size(SHORT columns, SHORT rows);
COORD console_size();

// What the process pretends it was started with.
extern char command_line_text[];
extern char environment_block[];

} // namespace standin
