// Process and environment calls. Unless scripted, WinExec reports 33 (started); the command
// line and environment are the stand-in's own texts.
#include "stand_in_services.h"

using standin::record;
using standin::word;

extern "C" {

void Sleep(DWORD milliseconds) {
  record("Sleep", {word(milliseconds)});
}

UINT WinExec(LPCSTR command_line, UINT show) {
  record("WinExec", {word(command_line), word(show)});
  return static_cast<UINT>(standin::next_result("WinExec", 33));
}

LPSTR GetCommandLineA(void) {
  record("GetCommandLineA", {});
  return standin::command_line_text;
}

// A scripted result is the block's address (0 for none).
LPSTR GetEnvironmentStringsA(void) {
  record("GetEnvironmentStringsA", {});
  return reinterpret_cast<LPSTR>(
      standin::next_result("GetEnvironmentStringsA", word(standin::environment_block)));
}

void srand(unsigned int seed) noexcept {
  record("srand", {word(seed)});
}
}
