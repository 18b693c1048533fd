// Console control calls. A COORD argument is recorded as two words, X then Y, each the
// 16-bit pattern of its half. Calls on the stand-in console succeed unless scripted; calls on
// any other handle fail.
#include "stand_in_services.h"

using standin::record;
using standin::word;

namespace {
uint64_t half(SHORT value) {
  return static_cast<uint16_t>(value);
}
BOOL console_result(const char *function, HANDLE console) {
  return static_cast<BOOL>(standin::next_result(function, console == standin::console_handle));
}
} // namespace

extern "C" {

BOOL SetConsoleCursorPosition(HANDLE console, COORD position) {
  record("SetConsoleCursorPosition", {word(console), half(position.X), half(position.Y)});
  return console_result("SetConsoleCursorPosition", console);
}

BOOL FillConsoleOutputCharacterA(HANDLE console, char character, DWORD cells, COORD start,
                                 LPDWORD written) {
  record("FillConsoleOutputCharacterA", {word(console), word(static_cast<unsigned char>(character)),
                                         word(cells), half(start.X), half(start.Y), word(written)});
  const BOOL ok = console_result("FillConsoleOutputCharacterA", console);
  *written = ok ? cells : 0;
  return ok;
}

BOOL FillConsoleOutputAttribute(HANDLE console, WORD attribute, DWORD cells, COORD start,
                                LPDWORD written) {
  record("FillConsoleOutputAttribute", {word(console), word(attribute), word(cells), half(start.X),
                                        half(start.Y), word(written)});
  const BOOL ok = console_result("FillConsoleOutputAttribute", console);
  *written = ok ? cells : 0;
  return ok;
}

BOOL SetConsoleTextAttribute(HANDLE console, WORD attribute) {
  record("SetConsoleTextAttribute", {word(console), word(attribute)});
  return console_result("SetConsoleTextAttribute", console);
}

BOOL Beep(DWORD frequency, DWORD duration) {
  record("Beep", {word(frequency), word(duration)});
  return static_cast<BOOL>(standin::next_result("Beep", 1));
}

// Reports the stand-in console's size (and cursor at 0, 0) when it succeeds.
BOOL GetConsoleScreenBufferInfo(HANDLE console, CONSOLE_SCREEN_BUFFER_INFO *info) {
  record("GetConsoleScreenBufferInfo", {word(console), word(info)});
  const BOOL ok = console_result("GetConsoleScreenBufferInfo", console);
  if (ok) {
    *info = CONSOLE_SCREEN_BUFFER_INFO{};
    info->dwSize = standin::console_size();
    info->wAttributes = 7;
  }
  return ok;
}

BOOL SetConsoleScreenBufferSize(HANDLE console, COORD size) {
  record("SetConsoleScreenBufferSize", {word(console), half(size.X), half(size.Y)});
  const BOOL ok = console_result("SetConsoleScreenBufferSize", console);
  if (ok)
    standin::set_console_size(size.X, size.Y);
  return ok;
}

// The title's bytes are kept with the call.
BOOL SetConsoleTitleA(LPCSTR title) {
  record("SetConsoleTitleA", {word(title)}).bytes = title ? title : "";
  return static_cast<BOOL>(standin::next_result("SetConsoleTitleA", 1));
}
}
