// The checked runtime (librtlib-checked.a): every routine tests the preconditions of its
// contract at its entry (RT_CHECK, platform.h) and rt_alloc, rt_realloc and rt_free work on a
// guarded heap. A broken contract is reported in one line on standard error,
//   rtlib check: <routine>: <argument>: <what is wrong>; called at <image>+0x<offset>
// and the process ends with RT_EXIT_CHECK. The release library has none of this: these files
// are compiled into the checked library only, and RT_CHECK expands to nothing elsewhere.
#pragma once

#include <stdint.h>

#include "rtlib.h"

namespace rt::check {

// The routine that checks and the place it was called from (its return address).
struct Site {
  const char *routine;
  const void *caller;
};

// ---- report (check_report.cpp) -----------------------------------------------------------

// A report line, built in a buffer of its own and written to standard error in one write.
class Line {
public:
  void add(const char *text);
  void number(uint64_t value);
  // A code address as <image file name>+0x<offset from the image base>: the call instruction
  // behind the return address `caller`, which addr2line maps to its source line.
  void site(const void *caller);
  void write();

private:
  char text_[640] = {};
  uint32_t used_ = 0;
};

// Writes the report line "<argument>: <part><what>" and ends the process with RT_EXIT_CHECK.
// Each '%' of `what` is replaced by the next of the numbers, in decimal.
[[noreturn]] void fail(Site site, const char *argument, const char *what, uint64_t first = 0,
                       uint64_t second = 0, const char *part = "");

// ---- guarded heap (check_heap.cpp) ---------------------------------------------------------

// A block of the guarded heap: where its bytes are, how many, and whether it is released
// (kept poisoned in the quarantine) or live.
struct Block {
  const char *start;
  uint64_t size;
  bool released;
};

// The live or quarantined block whose bytes or guard bytes hold `address`; false when no block
// of the guarded heap does (static data, a stack, a `malloc` block, or a block that has left
// the quarantine).
bool find_block(const void *address, Block *block);

// rt_alloc, rt_realloc and rt_free of the checked runtime.
void *heap_alloc(Site site, uint64_t size);
void *heap_realloc(Site site, void *block, uint64_t size);
int64_t heap_free(Site site, void *block);

// Makes `site` the place a block was made at, for the report of blocks still live at exit: a
// routine that makes a block through others names its own caller. Returns the block.
void *made_at(Site site, void *block);

// At the end of a call-profile program: the guard bytes of every live block, and with
// RTLIB_CHECK_LEAKS=1 the report of the blocks still live.
void at_exit(Site site);

// ---- arguments (check_args.cpp) ------------------------------------------------------------

// `count` bytes at `bytes` that a routine reads: not in a released block, not beyond the end of
// a live one, and readable memory. Nothing is checked for count 0.
void readable(Site site, const char *argument, const void *bytes, uint64_t count);
// The same for bytes that a routine writes: writable memory as well.
void writable(Site site, const char *argument, const void *bytes, uint64_t count);
// A StrView (or RtString) argument whose text is read by length: the view itself readable,
// data not null unless length is 0, and the text readable.
void view(Site site, const char *argument, const StrView *view);
// A StrView whose text is read NUL-terminated: data not null and the text terminated.
void view_text(Site site, const char *argument, const StrView *view);
// A StrView whose text is read NUL-terminated unless its length word is 0.
void view_text_unless_empty(Site site, const char *argument, const StrView *view);
// A StrView whose text an in-place routine changes: the text and `extra` bytes behind it
// writable (a trim stores a NUL at data + length).
void view_in_place(Site site, const char *argument, StrView *view, uint64_t extra);
// A NUL-terminated text: not null, and its NUL inside the block or memory that holds it.
void text(Site site, const char *argument, const char *text);
// The same for a text that may be null.
void text_or_null(Site site, const char *argument, const char *text);
// `count` bytes written at base + offset (the address computed as the runtime does, wrapping).
void writable_at(Site site, const char *argument, const void *base, uint64_t offset,
                 uint64_t count);
// Integer arguments: not negative, or at least 1.
void not_negative(Site site, const char *argument, int64_t value);
void positive(Site site, const char *argument, int64_t value);
// A pointer argument that must not be null.
void not_null(Site site, const char *argument, const void *pointer);
// An inline-profile string variable: length within its room, terminator in place while there
// is room for it, and a block of `malloc` (not of rt_alloc) when the variable owns one.
void strvar(Site site, const char *argument, const StrVar *var);
// A statement's temporary: a length not negative, its bytes readable, no rt_alloc block.
void temp(Site site, const char *argument, StrTemp temp);
// The two operands of a join: not the same block.
void distinct_blocks(Site site, const char *argument, const char *left, const char *right);
// A value a variable adopts: a length not negative, a block of its own (not the variable's
// current block or buffer, not an rt_alloc block) and writable memory of that length.
void adoptable(Site site, const char *argument, const StrVar *var, const char *data,
               int64_t length);
// A text copied into a variable: not inside the variable's own storage.
void outside_var(Site site, const char *argument, const StrVar *var, const char *text);

} // namespace rt::check
