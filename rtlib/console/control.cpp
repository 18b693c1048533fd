#include "platform.h"

// Console control on the standard output handle, fetched anew by every routine. Flags from
// the platform come back as they are, widened to 64 bits; nothing is checked beforehand, so a
// redirected standard output simply makes the console calls fail.

namespace {
// Low 16 bits of a coordinate, as the platform's signed 16-bit COORD half.
SHORT coordinate(int64_t value) {
  return static_cast<SHORT>(static_cast<uint16_t>(static_cast<uint64_t>(value)));
}
constexpr DWORD clear_cells = 80;
constexpr WORD clear_attribute = 7; // light grey on black
} // namespace

extern "C" int64_t rt_locate(int64_t row, int64_t column) {
  COORD position;
  position.X = coordinate(column);
  position.Y = coordinate(row);
  return SetConsoleCursorPosition(GetStdHandle(STD_OUTPUT_HANDLE), position);
}

// Blanks, then attribute 7, over the 80 cells from (0, 0); the cursor stays where it is.
extern "C" int64_t rt_clear_screen(void) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  COORD origin;
  origin.X = 0;
  origin.Y = 0;
  DWORD cells = 0;
  (void)FillConsoleOutputCharacterA(out, ' ', clear_cells, origin, &cells);
  cells = 0;
  return FillConsoleOutputAttribute(out, clear_attribute, clear_cells, origin, &cells);
}

// A foreground above 15 spills into the background nibble; background bits above the nibble
// fall off with the final mask.
extern "C" int64_t rt_set_color(int64_t foreground, int64_t background) {
  const uint64_t attribute =
      (static_cast<uint64_t>(foreground) | (static_cast<uint64_t>(background) << 4)) & 0xFFu;
  return SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), static_cast<WORD>(attribute));
}

extern "C" int64_t rt_beep(int64_t /*ignored*/, int64_t /*ignored*/) {
  return Beep(800, 200);
}

// The width stays what the console reports; the rows become the argument's low 16 bits.
extern "C" int64_t rt_set_buffer_size(int64_t rows) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  (void)GetConsoleScreenBufferInfo(out, &info);
  COORD size;
  size.X = info.dwSize.X;
  size.Y = coordinate(rows);
  (void)SetConsoleScreenBufferSize(out, size);
  return 0;
}

extern "C" int64_t rt_set_title(const char *title) {
  RT_CHECK(text, "title", title);
  (void)SetConsoleTitleA(title);
  return 0;
}
