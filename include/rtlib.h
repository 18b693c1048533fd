/**
 * @file rtlib.h
 * @brief rtlib: the runtime that generated programs call. The one public C header of its ABI.
 *
 * Every routine has C linkage under the name given here. Integers are signed 64-bit unless a
 * declaration says otherwise; positions in texts are 1-based and 0 means none. Texts are 8-bit
 * bytes in the ANSI code page; lengths count bytes and never a terminator.
 *
 * Two code profiles use this runtime:
 *   - call profile: the image starts in rt_start(), which calls program_main(); every service
 *     is an out-of-line routine and the image carries the whole call-profile set;
 *   - inline profile: the program's main procedure is the image entry; the image carries
 *     only a small tail (fault handler, wildcard matcher, window procedure, printer). The
 *     frame, the entry and exit steps and the thread start routine are C++ building blocks in
 *     rtlib_inline.hpp; their byte layout is also given as plain constants in rtlib_layout.h.
 *
 * How a routine reads a text argument is stated with each routine: "by length" means exactly
 * the bytes `[data, data + length)`, NUL bytes included; "NUL-terminated" means from `data` up
 * to the first NUL byte, whatever the length word says (the NUL must then exist).
 *
 * Ownership in the call profile: whoever receives a new block or record owns it and releases
 * it with rt_free(); no routine releases anything on its own. Blocks of the inline profile come
 * from msvcrt `malloc` and go back through `free`; the two kinds never mix.
 *
 * Which routines every image of a profile carries, used or not, says the routine table
 * `routines.txt` of the runtime's sources.
 *
 * The checked runtime, `librtlib-checked.a` (link `-lrtlib-checked` for `-lrtlib` with the same
 * response files, or `rtlib_add_image(... CHECKED ...)`), has the same routines with the same
 * results. Each tests at its entry the preconditions stated here that a caller can break
 * (the runtime's table `contracts.txt` lists them, and the ones no check can decide), and
 * rt_alloc(), rt_realloc() and rt_free() work on a guarded heap: every block has a header and
 * guard bytes behind it, and a released block stays poisoned in a bounded quarantine. A broken
 * contract is reported in one line on standard error,
 * `rtlib check: <routine>: <argument>: <what is wrong>; called at <image>+0x<offset>`, where the
 * offset from the image base lies in the call instruction (addr2line maps it to its source line
 * in an image with debug information; a caller that reaches the routine by a tail jump shows as
 * its own caller), and the process ends with exit code #RT_EXIT_CHECK. At the end of a
 * call-profile program rt_start() checks the guard bytes of every live block; with the
 * environment variable `RTLIB_CHECK_LEAKS=1` it also reports
 * `rtlib check: N blocks (B bytes) still live at exit; made first by <routine> at <site>, ...`
 * and keeps the program's exit code.
 */
#ifndef RTLIB_H
#define RTLIB_H

#include <stddef.h>
#include <stdint.h>

#include "rtlib_layout.h"

#ifdef __cplusplus
extern "C" {
/** Marks a routine that never returns. */
#define RT_NORETURN [[noreturn]]
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define RT_NORETURN _Noreturn
#elif defined(__GNUC__)
#define RT_NORETURN __attribute__((noreturn))
#else
#define RT_NORETURN
#endif

/** The platform's vectored-handler disposition: LONG, a signed 32-bit value. */
#if defined(_WIN32)
typedef long RtDisposition;
#else
typedef int32_t RtDisposition;
#endif
struct _EXCEPTION_POINTERS;

/* ---- Records ----------------------------------------------------------------------- */

/**
 * A data pointer followed by a 64-bit length: how string routines read their arguments. The
 * leading pair of every RtString, so a record's address serves as a view of its text.
 */
typedef struct StrView {
  char *data;      /**< First text byte. */
  uint64_t length; /**< Number of text bytes. */
} StrView;

/**
 * Call-profile string record: four header words, then (usually) the text in the same block,
 * 32 bytes from its start (#RT_STRING_HEADER_BYTES).
 *
 * A record made by a constructor or an edit routine is one rt_alloc() block: header, text and
 * a NUL (rt_str_blank(): the header only). It is released with rt_free() at the record's own
 * address, never at `data`. A record filled by rt_str_concat() (inline flag 0) has its text in a
 * block of its own, which is released separately at the address rt_str_concat() stored in `data`;
 * keep that address if an in-place routine (rt_str_trim(), rt_str_ltrim()) may move `data` forward,
 * since releasing a moved `data` corrupts the heap.
 */
typedef struct RtString {
  char *data;           /**< First text byte; followed by a NUL. */
  uint64_t length;      /**< Number of text bytes. */
  uint64_t capacity;    /**< As made: 32, 72 or 8 for the fixed shapes, else the length. */
  uint64_t inline_flag; /**< 1: text in the record's own block; 0: text in a block of its own. */
} RtString;

/* ---- Provided by a call-profile program --------------------------------------------- */

/**
 * The program's main procedure, defined by every call-profile program and called once by
 * rt_start().
 * @return Its 32-bit result variable, sign-extended; the low 32 bits become the exit code.
 */
int64_t program_main(void);

/* ---- Start-up and exit --------------------------------------------------------------- */

/**
 * Image entry of the call profile (link with `-e rt_start`; there is no C runtime start-up):
 * registers rt_fault_handler() as a vectored handler, calls program_main() and ends the
 * process with the low 32 bits of its result. Never returns.
 */
RT_NORETURN void rt_start(void);
/**
 * Vectored fault handler of the call profile, registered by rt_start(): passes every fault
 * on, a stack overflow included. The argument is never read.
 * @param info The platform's fault description.
 * @return EXCEPTION_CONTINUE_SEARCH (0).
 */
RtDisposition rt_fault_handler(struct _EXCEPTION_POINTERS *info);
/** Ends the process at once with exit code 252 (#RT_EXIT_FATAL); nothing is released. */
RT_NORETURN void rt_fatal_exit(void);

/* ---- Heap blocks and raw memory ------------------------------------------------------ */

/* Blocks come from the process's default heap, zero-filled (HEAP_ZERO_MEMORY), exactly the
 * size asked for; each routine makes one heap call and keeps no state. The checked runtime
 * hands them to its guarded heap instead (see the top of this file). */

/**
 * A new block from the process's default heap, zero-filled, exactly `size` bytes (0 is
 * passed on and gives a block of its own). The caller owns it and releases it with rt_free().
 * @param size Bytes wanted.
 * @return The block, or null when the heap refuses.
 */
void *rt_alloc(uint64_t size);
/**
 * Resizes a block of rt_alloc() or rt_realloc(); it may move, added bytes are zero.
 * @param block The block, or null to make a new one with rt_alloc().
 * @param size New size in bytes (0 is passed on).
 * @return The block at its new size, to be released with rt_free(); or null with the old
 *         block left valid and unchanged (the caller still owns and releases it).
 */
void *rt_realloc(void *block, uint64_t size);
/**
 * Releases a block of rt_alloc() or rt_realloc() (also an RtString record, an rt_str_repeat()
 * block or an rt_str_concat() text block). Never pass a `malloc` block, a moved `data`
 * pointer or a block twice.
 * @param block The block, or null.
 * @return 0 for a null block (no platform call); otherwise HeapFree's flag, nonzero when
 *         released.
 */
int64_t rt_free(void *block);
/**
 * Copies bytes. The result is that of a forward byte copy: a destination inside the source
 * above its start repeats the source's leading (destination - source) bytes; a destination
 * below an overlapping source gets the source's bytes as a move would.
 * @param destination Where the bytes go.
 * @param source Where they come from; may overlap the destination.
 * @param count Bytes to copy; 0 copies nothing.
 * @return destination.
 */
void *rt_copy_bytes(void *destination, const void *source, uint64_t count);
/**
 * Reads one byte.
 * @param address A readable byte.
 * @return The byte, 0 to 255.
 */
int64_t rt_peek_byte(const void *address);
/**
 * Stores one byte.
 * @param address A writable byte.
 * @param value Only its low 8 bits are stored.
 * @return 0.
 */
int64_t rt_poke_byte(void *address, int64_t value);
/**
 * Stores a NUL at `buffer[second - first]` when second >= first (unsigned); else nothing.
 * @param buffer The text.
 * @param first Position the buffer starts at.
 * @param second Position of the byte to end the text at.
 */
void rt_terminate_at(char *buffer, uint64_t first, uint64_t second);
/**
 * The first word of a view.
 * @param view A StrView or RtString.
 * @return Its data pointer.
 */
char *rt_view_data(const StrView *view);
/**
 * The second word of a view.
 * @param view A StrView or RtString.
 * @return Its length.
 */
uint64_t rt_view_length(const StrView *view);
/**
 * @param value Any value.
 * @return The value itself.
 */
int64_t rt_identity(int64_t value);

/**
 * The parameter list of rt_zero() and rt_nop(): any arguments, none of them read. C++ and
 * C23 spell that `(...)`. Earlier C has no prototype for it; the two declarations are then
 * old-style ones, which accept any arguments, with the compilers' warning about them held
 * off for these two lines only.
 */
#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 202311L)
#define RT_ANY_ARGUMENTS ...
#else
#define RT_ANY_ARGUMENTS
#if defined(__GNUC__)
#define RT_OLD_STYLE_DECLARATIONS_BEGIN                                                            \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wstrict-prototypes\"")
#define RT_OLD_STYLE_DECLARATIONS_END _Pragma("GCC diagnostic pop")
#endif
#endif
#ifndef RT_OLD_STYLE_DECLARATIONS_BEGIN
/** Opens the stretch of rt_zero() and rt_nop(); empty where prototypes are used. */
#define RT_OLD_STYLE_DECLARATIONS_BEGIN
/** Closes the stretch of rt_zero() and rt_nop(). */
#define RT_OLD_STYLE_DECLARATIONS_END
#endif
RT_OLD_STYLE_DECLARATIONS_BEGIN
/**
 * Takes any arguments and reads none of them; the caller removes its own arguments.
 * @return Always 0.
 */
int64_t rt_zero(RT_ANY_ARGUMENTS);
/** Takes any arguments, reads none of them and does nothing. */
void rt_nop(RT_ANY_ARGUMENTS);
RT_OLD_STYLE_DECLARATIONS_END
/**
 * Shortens a text in place: when count <= record->length, sets the length to count and
 * stores a NUL at `data[count]`; a longer count changes nothing.
 * @param data The text to terminate; normally record->data.
 * @param count The new length.
 * @param record The view whose length word changes.
 * @return count, whether it passed or not.
 */
uint64_t rt_set_end(char *data, uint64_t count, StrView *record);
/**
 * Moves bytes (overlap-safe, like memmove).
 * @param buffer Base of the destination.
 * @param offset Byte offset into the buffer.
 * @param source Bytes to move; may overlap the destination.
 * @param count Bytes to move; 0 moves nothing.
 * @return buffer + offset.
 */
void *rt_move_at(void *buffer, uint64_t offset, const void *source, uint64_t count);

/* ---- String record and constructors -------------------------------------------------- */

/* Every record comes from rt_alloc and belongs to the caller, who releases it with rt_free at
 * the record's own address (for rt_str_concat: the text block at the data address it stored).
 * Shapes:
 *   rt_str_new, rt_str_empty, rt_str_from_char, rt_str_from_int: 64-byte block, capacity 32;
 *   rt_str_bin, rt_str_oct: 104-byte block, capacity 72; rt_str_find_any: 40 bytes, capacity 8;
 *   rt_str_dup and the edit routines: length + 33 bytes, capacity equal to length;
 * all with data at the text area 32 bytes into the block, inline flag 1 and a NUL behind the
 * text. rt_str_blank is the four header words only, all zero. */

/**
 * A new empty record: 64-byte block, capacity 32, data at its text area (all NUL), inline
 * flag 1.
 * @return The record (release with rt_free() at its address), or null when memory runs out.
 */
RtString *rt_str_new(void);
/**
 * The same as rt_str_new().
 * @return The record (release with rt_free()), or null.
 */
RtString *rt_str_empty(void);
/**
 * A one-character record (64-byte block, capacity 32).
 * @param code Only its low 8 bits count; code 0 gives length 1 with a NUL character.
 * @return The record (release with rt_free()), or null when memory runs out.
 */
RtString *rt_str_from_char(int64_t code);
/**
 * The decimal text of a value ("%I64d"; at most 20 characters), 64-byte block, capacity 32.
 * @param value Any value.
 * @return The record (release with rt_free()), or null when memory runs out.
 */
RtString *rt_str_from_int(int64_t value);
/**
 * The binary digits of a value read as unsigned, no sign or prefix (0 is "0"); 104-byte
 * block, capacity 72.
 * @param value Any value.
 * @return The record (release with rt_free()), or null when memory runs out.
 */
RtString *rt_str_bin(uint64_t value);
/**
 * The octal digits of a value read as unsigned, no sign or prefix (0 is "0"); 104-byte
 * block, capacity 72.
 * @param value Any value.
 * @return The record (release with rt_free()), or null when memory runs out.
 */
RtString *rt_str_oct(uint64_t value);
/**
 * A header-only 32-byte record, all four words zero: the destination for rt_str_concat().
 * Its data pointer is null, so it is no valid text argument of any routine until
 * rt_str_concat() has filled it.
 * @return The record (release with rt_free(); after a fill, release the text block too), or
 *         null when memory runs out.
 */
RtString *rt_str_blank(void);
/**
 * Joins two texts into a new text block and stores it in the destination's four words:
 * data = the block (length + 1 bytes, from rt_alloc(), text then a NUL), length and capacity =
 * the total, inline flag 0.
 *
 * The destination's old words are overwritten without releasing anything: a text block it
 * held from an earlier rt_str_concat() must be released (or kept elsewhere) first, and the
 * new block is released later with rt_free() at the data address stored here (not at a data
 * pointer that a trim has moved since). The destination may be one of the sources: both are
 * read before it changes.
 * @param destination The record to fill (typically from rt_str_blank()).
 * @param first Text read by length.
 * @param second Text read by length, joined behind the first.
 * @return 0 when done; 1 when the block cannot be had or the total does not fit, with the
 *         destination unchanged.
 */
int64_t rt_str_concat(RtString *destination, const StrView *first, const StrView *second);
/**
 * A copy of a text (length + 33 bytes, capacity equal to length).
 * @param text Text read by length.
 * @return The record (release with rt_free()), or null when the text is empty or memory runs
 *         out.
 */
RtString *rt_str_dup(const StrView *text);

/* ---- Search and conversion ----------------------------------------------------------- */

/**
 * Finds a text in another, comparing by length (NUL bytes included). Linear time.
 * @param text Text searched, read by length.
 * @param search Text looked for, read by length.
 * @return 1-based position of the first occurrence; 1 for an empty search string; 0 when
 *         there is none.
 */
int64_t rt_instr(const StrView *text, const StrView *search);
/**
 * Counts occurrences, overlapping ones included (aa occurs three times in aaaa). Linear time.
 * @param text Text searched, read NUL-terminated.
 * @param search Text looked for, read NUL-terminated; its length word only tells whether it is
 *        empty.
 * @return The count; 0 when the search string is empty or starts with a NUL.
 */
int64_t rt_str_count(const StrView *text, const StrView *search);
/**
 * Finds the first character of a text that is not in a set. Linear time in text and set.
 * @param text Read NUL-terminated.
 * @param set Read NUL-terminated.
 * @return Its 1-based position; 0 when every character is in the set.
 */
int64_t rt_str_verify(const StrView *text, const StrView *set);
/**
 * Finds the first character of a text that is in a set. Linear time in text and set.
 * @param text Read NUL-terminated.
 * @param set Read NUL-terminated.
 * @return A new one-character record (40-byte block, capacity 8; release with rt_free());
 *         null when there is none or memory runs out.
 */
RtString *rt_str_find_any(const StrView *text, const StrView *set);
/**
 * msvcrt atol of a text.
 * @param text Read NUL-terminated.
 * @return A signed 32-bit value, sign-extended.
 */
int64_t rt_str_val(const StrView *text);
/**
 * The first byte of a text. It is read whatever the length, so an empty text must still have
 * its terminator.
 * @param text The text.
 * @return The byte, 0 to 255 (0 for an empty text: its terminator).
 */
int64_t rt_str_asc(const StrView *text);

/* ---- Edit routines ------------------------------------------------------------------- */

/* New records of length + 33 bytes, released with rt_free; the arguments stay untouched. */

/**
 * The text without `count` characters from `start`, the count cut at the end.
 * @param source Read by length.
 * @param start 1-based position of the first character removed.
 * @param count Characters to remove.
 * @return A new record (release with rt_free()). A copy (rt_str_dup()) when start < 1,
 *         count < 1, start is beyond the end or memory runs out; so null when the source is
 *         empty, or when even the copy cannot be had.
 */
RtString *rt_str_remove(const StrView *source, int64_t start, int64_t count);
/**
 * A text with another placed before a position.
 * @param source Read by length.
 * @param inserted Read by length.
 * @param position 1-based, clamped to 1 .. length + 1.
 * @return A new record (release with rt_free()); null when memory runs out or the total does
 *         not fit.
 */
RtString *rt_str_insert(const StrView *source, const StrView *inserted, int64_t position);
/**
 * A text with every occurrence of a search string replaced, the scan going on behind each
 * one (aa in aaa is replaced once). Only `[data, data + length)` of each argument is read. From
 * where the scan stands, an occurrence is the first place where all of the search string's
 * length bytes match, within the source's length, and its bytes up to its first NUL (all of
 * them if it holds none) lie before the source's next NUL; the scan ends when there is none.
 * A search string without a NUL is so replaced in the source cut at its first NUL byte. One
 * with a NUL matches only across a NUL of the source, and the scan goes on behind it, in the
 * next stretch: `"xa\0qa\0q"` with search string `"a\0q"` and replacement `"R"` gives `"xRR"`,
 * `"ab\0cb\0c"` with `"b\0c"` and `"X"` gives `"aXX"`. Linear time.
 * @param source The text.
 * @param search The string looked for.
 * @param replacement What each occurrence becomes, by length.
 * @return A new record (release with rt_free()). A copy (rt_str_dup(), so null for an empty
 *         source) when the search string is empty, starts with a NUL or does not occur, or
 *         when the result cannot be had.
 */
RtString *rt_str_replace(const StrView *source, const StrView *search, const StrView *replacement);
/**
 * A bare block holding `count` copies of a text end to end: no record header and no
 * terminator, so it is no RtString and no StrView; the caller keeps its size (length * count)
 * itself.
 * @param text Read by length.
 * @param count Number of copies.
 * @return The block, from rt_alloc() and released with rt_free() at this address (a block of
 *         size 0 for an empty text or count 0, released the same way); null when memory runs
 *         out or the size does not fit in 64 bits.
 */
void *rt_str_repeat(const StrView *text, uint64_t count);

/* ---- In-place routines --------------------------------------------------------------- */

/* They change the view's data and length words and its text bytes, nothing else; all return
 * 0 and read the text by length. The text must be writable (not a literal of read-only data).
 * White space is space, TAB, CR and LF. Trims store a NUL behind the new last character, so
 * the byte at data + length must be writable too (every record has its terminator there);
 * an empty text is left alone. */

/**
 * Removes white space at both ends: data moves forward, length shrinks. A moved data pointer
 * is no block address: release the record or text block at the address it had before.
 * @param text The view to change.
 * @return 0.
 */
int64_t rt_str_trim(StrView *text);
/**
 * Removes white space at the start: data moves forward (see rt_str_trim() on releasing).
 * @param text The view to change.
 * @return 0.
 */
int64_t rt_str_ltrim(StrView *text);
/**
 * Removes white space at the end: length shrinks, data stays.
 * @param text The view to change.
 * @return 0.
 */
int64_t rt_str_rtrim(StrView *text);
/**
 * Lower case in the ANSI code page (CharLowerBuffA over the low 32 bits of length).
 * @param text The view whose bytes change.
 * @return 0.
 */
int64_t rt_str_lcase(StrView *text);
/**
 * Upper case in the ANSI code page (CharUpperBuffA over the low 32 bits of length).
 * @param text The view whose bytes change.
 * @return 0.
 */
int64_t rt_str_ucase(StrView *text);
/**
 * Reverses the bytes of a text; the terminator stays.
 * @param text The view whose bytes change.
 * @return 0.
 */
int64_t rt_str_reverse(StrView *text);

/* ---- Console output ------------------------------------------------------------------ */

/**
 * Writes a value in decimal followed by CR LF, in one write to standard output (the handle
 * fetched anew, no buffering).
 * @param value Any value.
 * @return The write's success flag (nonzero when written).
 */
int64_t rt_print_int(int64_t value);
/**
 * Writes a text, then CR LF, in two writes to standard output, each after its own handle
 * lookup.
 * @param text Read NUL-terminated.
 * @return The second write's success flag; the first one's is not looked at.
 */
int64_t rt_print_line(const char *text);
/**
 * As rt_print_int() of the second argument.
 * @param ignored Not read.
 * @param value Any value.
 * @return The write's success flag.
 */
int64_t rt_print_int_arg2(int64_t ignored, int64_t value);
/**
 * As rt_print_line() of the second argument.
 * @param ignored Not read.
 * @param text Read NUL-terminated.
 * @return The second write's success flag.
 */
int64_t rt_print_line_arg2(int64_t ignored, const char *text);

/* ---- Console control ----------------------------------------------------------------- */

/* All act on the standard output handle, fetched anew by each call (rt_beep and rt_set_title
 * excepted). With standard output redirected away from a console they fail: the flag is 0. */

/**
 * Moves the cursor to a 0-based cell, nothing subtracted.
 * @param row Y, cut to 16 bits.
 * @param column X, cut to 16 bits.
 * @return The platform's flag.
 */
int64_t rt_locate(int64_t row, int64_t column);
/**
 * Exactly two fills from cell (0, 0): 80 blanks, then attribute 7 (light grey on black) over
 * the same 80 cells. The cursor does not move.
 * @return The attribute fill's flag.
 */
int64_t rt_clear_screen(void);
/**
 * Sets attribute (foreground | background << 4) & 0xFF for text written from now on, with no
 * other masking: rt_set_color(14, 1) sets 0x1E, rt_set_color(15, 31) sets 0xFF.
 * @param foreground Low nibble of the attribute (higher bits spill into the background).
 * @param background High nibble of the attribute.
 * @return The platform's flag.
 */
int64_t rt_set_color(int64_t foreground, int64_t background);
/**
 * Sounds 800 Hz for 200 ms whatever it is given (callers may pass nothing).
 * @param ignored_frequency Not read.
 * @param ignored_duration Not read.
 * @return The platform's flag, once the tone has ended.
 */
int64_t rt_beep(int64_t ignored_frequency, int64_t ignored_duration);
/**
 * Reads the screen buffer size, then sets it to the same width (dwSize.X) and a number of
 * rows. The platform's outcome is not reported.
 * @param rows Its low 16 bits are the new height.
 * @return 0.
 */
int64_t rt_set_buffer_size(int64_t rows);
/**
 * Sets the console window title (an empty text included); the outcome is not reported.
 * @param title Read NUL-terminated.
 * @return 0.
 */
int64_t rt_set_title(const char *title);

/* ---- Files and directories ----------------------------------------------------------- */

/* Handles are the platform's raw 64-bit values (invalid: -1); the runtime keeps no table of
 * them, and each open handle is closed by the caller with rt_close. Byte counts and sizes
 * reach the platform as their low 32 bits; counts returned are unsigned 32-bit values,
 * zero-extended. Paths are NUL-terminated and go unchanged to the platform's ANSI calls. */

/**
 * Opens an existing file for reading (sharing read and write, no security attributes,
 * normal attributes, no template).
 * @param ignored Not read.
 * @param path Read NUL-terminated.
 * @param handle Receives the handle on success; untouched on failure. Close it with
 *        rt_close().
 * @return 0 when opened; 1 on failure.
 */
int64_t rt_open_read(int64_t ignored, const char *path, void **handle);
/**
 * Closes a handle; the outcome is not reported.
 * @param handle The handle.
 * @return 0.
 */
int64_t rt_close(void *handle);
/**
 * Reads bytes.
 * @param handle An open file.
 * @param buffer At least count writable bytes.
 * @param count Bytes wanted (low 32 bits).
 * @return Bytes read; 0 at end of file and 0 when the read fails.
 */
int64_t rt_read_checked(void *handle, void *buffer, int64_t count);
/**
 * Reads bytes without looking at the outcome.
 * @param handle An open file.
 * @param buffer At least count writable bytes.
 * @param count Bytes wanted (low 32 bits).
 * @return The byte count the platform reports, success or not (0 for a failed read).
 */
int64_t rt_read_unchecked(void *handle, void *buffer, int64_t count);
/**
 * Writes bytes.
 * @param handle An open file.
 * @param buffer The bytes.
 * @param count Bytes to write (low 32 bits).
 * @return Bytes written; 0 when the write fails.
 */
int64_t rt_write_checked(void *handle, const void *buffer, int64_t count);
/**
 * Writes like rt_write_checked(), without reporting anything.
 * @param handle An open file.
 * @param buffer The bytes.
 * @param count Bytes to write (low 32 bits).
 * @return 0.
 */
int64_t rt_write_unchecked(void *handle, const void *buffer, int64_t count);
/**
 * Moves the file pointer by 0 bytes from an origin.
 * @param handle An open file.
 * @param ignored2 Not read.
 * @param ignored3 Not read.
 * @param origin 0 start, 1 current position, 2 end.
 * @return The new position's low 32 bits, or 0xFFFFFFFF on failure.
 */
int64_t rt_seek_origin(void *handle, int64_t ignored2, int64_t ignored3, int64_t origin);
/**
 * Flushes a file's buffers.
 * @param handle An open file.
 * @return The platform's flag.
 */
int64_t rt_flush(void *handle);
/**
 * Ends a file at its current position; the outcome is not reported.
 * @param handle An open file.
 * @return 0.
 */
int64_t rt_set_eof(void *handle);

/* These return the platform's flag: nonzero when done, 0 on failure. */

/**
 * Deletes a file.
 * @param path Read NUL-terminated.
 * @return The platform's flag.
 */
int64_t rt_delete_file(const char *path);
/**
 * Moves or renames a file.
 * @param existing Read NUL-terminated.
 * @param target Read NUL-terminated.
 * @return The platform's flag.
 */
int64_t rt_move_file(const char *existing, const char *target);
/**
 * Copies a file.
 * @param existing Read NUL-terminated.
 * @param target Read NUL-terminated.
 * @param fail_if_exists Any nonzero value (also one with zero low 32 bits) refuses to replace
 *        an existing target.
 * @return The platform's flag.
 */
int64_t rt_copy_file(const char *existing, const char *target, int64_t fail_if_exists);
/**
 * Sets a file's attributes.
 * @param path Read NUL-terminated.
 * @param attributes The platform's FILE_ATTRIBUTE_* bits (low 32 bits).
 * @return The platform's flag.
 */
int64_t rt_set_attributes(const char *path, int64_t attributes);
/**
 * Makes a directory.
 * @param path Read NUL-terminated.
 * @param security The platform's security attributes, or null for the defaults.
 * @return The platform's flag.
 */
int64_t rt_make_dir(const char *path, void *security);
/**
 * Changes the current directory.
 * @param path Read NUL-terminated.
 * @return The platform's flag.
 */
int64_t rt_change_dir(const char *path);
/**
 * Removes an empty directory.
 * @param path Read NUL-terminated.
 * @return The platform's flag.
 */
int64_t rt_remove_dir(const char *path);
/**
 * Stores the current directory, NUL-terminated.
 * @param size Bytes of the buffer (low 32 bits).
 * @param buffer Where the text goes.
 * @return The characters stored (without the NUL); the size needed (with the NUL) when the
 *         buffer is too small; 0 on failure.
 */
int64_t rt_current_dir(int64_t size, char *buffer);
/**
 * Same arguments, call and result as rt_current_dir().
 * @param size Bytes of the buffer (low 32 bits).
 * @param buffer Where the text goes.
 * @return As rt_current_dir().
 */
int64_t rt_current_dir_alt(int64_t size, char *buffer);

/* ---- Process, environment and arithmetic --------------------------------------------- */

/**
 * Sleeps.
 * @param milliseconds Low 32 bits are used; 0 gives up the time slice.
 * @return 0.
 */
int64_t rt_sleep(int64_t milliseconds);
/**
 * Starts a program (WinExec).
 * @param command_line Read NUL-terminated.
 * @param show The platform's show-window value.
 * @return Above 31 when it started, otherwise the platform's error number (31 or less).
 */
int64_t rt_exec(const char *command_line, int64_t show);
/**
 * The platform's own command line text; not a copy. It belongs to the platform: never
 * change or release it.
 * @return The NUL-terminated text.
 */
char *rt_command_line(void);
/**
 * The platform's environment block: name=value texts, each ending in NUL, one more NUL at
 * the end. The runtime never releases it.
 * @return The block, or null when there is none.
 */
char *rt_environment(void);
/**
 * Seeds msvcrt's rand.
 * @param seed Low 32 bits are used.
 */
void rt_seed_random(int64_t seed);

/* Integer routines wrap modulo 2^64 and never fail. */

/**
 * Integer power by square-and-multiply, wrapping. rt_ipow(2, 63) is INT64_MIN, rt_ipow(2, 64)
 * is 0.
 * @param base Any value.
 * @param exponent Any value; a negative one gives 0 (also for bases 1 and -1).
 * @return base^exponent modulo 2^64.
 */
int64_t rt_ipow(int64_t base, int64_t exponent);
/**
 * Power with the exponent truncated toward zero to n: base^n by the loop of rt_ipow() in
 * double precision, 1.0 / base^-n for negative n (so rt_fpow(0.0, -1.0) is +infinity). An
 * exponent beyond the signed 64-bit range gives the loop's limit by the base's magnitude m:
 * for a huge positive exponent infinity when m > 1, 1 when m == 1, 0 when m < 1; for a huge
 * negative one 0, 1 and infinity respectively (NaN for a NaN base).
 * @param base Any value.
 * @param exponent Any value; NaN gives NaN.
 * @return The power.
 */
double rt_fpow(double base, double exponent);
/**
 * Absolute value.
 * @param value Any value.
 * @return -value for negative values; INT64_MIN comes back unchanged.
 */
int64_t rt_abs(int64_t value);
/**
 * Signed minimum.
 * @param a First value.
 * @param b Second value.
 * @return a when a <= b, otherwise b.
 */
int64_t rt_min(int64_t a, int64_t b);
/**
 * Signed maximum.
 * @param a First value.
 * @param b Second value.
 * @return a when a >= b, otherwise b.
 */
int64_t rt_max(int64_t a, int64_t b);
/**
 * Clamps a value: the lower limit when the value is below it, then the upper limit when the
 * result so far is above it; with crossed limits (lower > upper) the upper limit wins.
 * @param value Any value.
 * @param lower Lower limit.
 * @param upper Upper limit.
 * @return The clamped value.
 */
int64_t rt_clamp(int64_t value, int64_t lower, int64_t upper);

/* ---- Inline runtime tail ------------------------------------------------------------- */

/**
 * Vectored fault handler of the inline profile. On STATUS_STACK_OVERFLOW it re-arms the guard
 * page (_resetstkoflw) and resumes execution; every other fault is passed on.
 *
 * The runtime registers it only in threads it starts for a program: every start routine does
 * so first (rt_thread_entry in rtlib_inline.hpp). The main procedure of a full-form program
 * registers it itself at its entry, with `AddVectoredExceptionHandler(0, ...)`
 * (rt_inline::register_stack_fault_handler in rtlib_inline.hpp); rt_start never does, and a
 * reduced-form program registers none. A registration is never removed; two of the same
 * handler are harmless.
 * @param info The platform's fault description.
 * @return EXCEPTION_CONTINUE_EXECUTION (-1) for a stack overflow; EXCEPTION_CONTINUE_SEARCH
 *         (0) otherwise.
 */
RtDisposition rt_stack_fault_handler(struct _EXCEPTION_POINTERS *info);

/* ---- Wildcard matcher ---------------------------------------------------------------- */

/**
 * Whether a whole text fits a pattern. '*' (a run acts as one) stands for any stretch, '?'
 * for one character, '#' for one digit, [...] for one character of a class ([!...] negated,
 * ranges x-y compared as signed bytes, no case folding); any other byte for itself, with a-z
 * and A-Z alike. No recursion, no allocation, time within pattern length x text length;
 * calls nothing outside itself.
 * @param pattern Read NUL-terminated; may be null.
 * @param text Read NUL-terminated; may be null.
 * @return 1 or 0, and 0 when either pointer is null.
 */
int32_t rt_like(const char *pattern, const char *text);
/**
 * As rt_like, for two pointers that are not null.
 * @param pattern Read NUL-terminated, not null.
 * @param text Read NUL-terminated, not null.
 * @return 1 or 0.
 */
int32_t rt_like_match(const char *pattern, const char *text);

/* ---- Inline procedure model: string variables, frames, threads, windows --------------- */

/**
 * An inline-profile string variable: capacity, length and data in ascending memory order.
 *
 * - capacity > 0: data is a block from msvcrt `malloc` of at least capacity bytes that the
 *   variable owns and releases;
 * - capacity == 0: data is not owned and never released (a global's static empty text, or an
 *   adopted empty value);
 * - capacity < 0: data is the variable's own inline buffer of -capacity bytes, never released.
 *
 * A variable is used by one thread at a time, and two variables never share a block.
 */
typedef struct StrVar {
  int64_t capacity; /**< Ownership and room, as above. */
  int64_t length;   /**< Text bytes; no terminator is counted. */
  char *data;       /**< First text byte; may be null when length is 0. */
} StrVar;

/**
 * A reference to a StrVar: the address of its data word (length and capacity lie in the two
 * words before it, #RT_STRREF_LENGTH_OFFSET and #RT_STRREF_CAPACITY_OFFSET). By-reference
 * parameters, return statements and global assignments write through one.
 */
typedef char **StrRef;

/**
 * A statement's temporary string value. Its block (length + 8 bytes from `malloc`, the text
 * then at least 4 zero bytes) is owned by the statement until a variable adopts it
 * (rt_strvar_adopt) or a join releases it (rt_strtemp_concat); no other use exists.
 */
typedef struct StrTemp {
  char *data;     /**< The block, or null for the empty value of a join. */
  int64_t length; /**< Text bytes. */
} StrTemp;

/**
 * A global string variable in its starting state: capacity 0, length 0, data at the zero
 * bytes that follow it. Defined statically, e.g. in C
 * `GlobalStrVar saved = {{0, 0, saved.empty}, {0}};`; it is never released, and its first
 * adoption leaves the static empty text alone.
 */
typedef struct GlobalStrVar {
  StrVar var;    /**< The variable; write it through `&var.data`. */
  char empty[8]; /**< The static empty text, zero. */
} GlobalStrVar;

/**
 * One of the fifteen records of a frame's HandleSlots. Word 0 is a kernel handle, 0 when the
 * record is empty; words 1 to 4 belong to the record and are zero. At exit of a full-form
 * procedure every nonzero word 0 is closed with CloseHandle (records 1 to 15 in turn, the
 * outcome not looked at, the word not cleared); the runtime itself never stores into a record.
 * A handle stored there is not closed when the process ends through an allocation failure or
 * in a reduced-form procedure.
 */
typedef struct HandleRecord {
  uint64_t word[RT_HANDLE_RECORD_WORDS]; /**< Handle, then four zero words. */
} HandleRecord;

/* Every allocation below ends the process with ExitProcess(1) at once when malloc fails, with
 * no string released and no handle slot closed. None of these routines fails otherwise. */

/**
 * Starts a dynamic variable on a fresh 520-byte `malloc` block: capacity 512, length 0, the
 * block's first 8 bytes zero (#RT_STRVAR_START_BLOCK_BYTES). Whatever the words held before is
 * overwritten, not released.
 * @param var The variable (a local, or a string function's ResultSlot).
 */
void rt_strvar_init(StrVar *var);
/**
 * Starts a fixed-size variable on its inline buffer, which is set to zero: capacity -size,
 * length 0, data = buffer. Nothing is allocated.
 * @param var The variable.
 * @param buffer Its inline buffer of size bytes (in a frame: directly behind the record).
 * @param size Buffer bytes, at least 1.
 */
void rt_strvar_init_fixed(StrVar *var, char *buffer, int64_t size);
/**
 * A new temporary holding a copy of a text.
 * @param data Text read by length; may be null when length is 0. Any source serves: a
 *        literal of the constant pool, a variable's data, a view through a StrRef.
 * @param length Bytes to copy, not negative.
 * @return The temporary: a fresh block of length + 8 bytes (the bytes, then 8 zero bytes) that
 *         the statement owns until it is adopted or joined (also for length 0).
 */
StrTemp rt_strtemp_copy(const char *data, int64_t length);
/**
 * Joins two temporaries and releases both operands' blocks (each one whose data is not null),
 * so neither may be used afterwards and they must not share a block.
 * @param left The first part, by length.
 * @param right The second part, by length.
 * @return A new temporary in a block of total + 8 bytes: the text, 4 zero bytes, then 4 bytes
 *         of no fixed value. Two empty operands give (null, 0) and no block.
 */
StrTemp rt_strtemp_concat(StrTemp left, StrTemp right);
/**
 * Moves a value into the variable behind a reference without copying: releases the old block
 * when capacity >= 1 (and data is not null), then data = data, length = capacity = length.
 *
 * The variable takes over the block and will release it with msvcrt `free` once capacity is
 * at least 1, so data must be a block of msvcrt `malloc` of at least length bytes: a
 * temporary from rt_strtemp_copy or rt_strtemp_concat, or a string function's result. Never
 * a literal, an rt_alloc block, a fixed-size buffer or a block another variable still holds,
 * and never the variable's own current block. A fixed-size variable becomes a heap variable.
 * An adopted empty value gets capacity 0, so its block (the 8 bytes of an empty
 * rt_strtemp_copy) is never released.
 * @param target StrRef to the variable.
 * @param data The value's block.
 * @param length The value's length.
 */
void rt_strvar_adopt(StrRef target, char *data, int64_t length);
/**
 * Copies a text into the variable behind a reference (entry step 8 of a by-value text
 * parameter). Fixed-size (capacity < 0): the text cut to -capacity - 1 bytes and a NUL go into
 * the buffer; capacity and data stay. Otherwise the block is reused when capacity >= text
 * length + 1; else a new `malloc` block of exactly text length + 1 bytes takes its place
 * (capacity = that size; the old block released when owned). The text and its NUL are copied;
 * length becomes the stored text's length.
 * @param target StrRef to the variable.
 * @param text Read NUL-terminated (its length as a 32-bit count); it must not overlap the
 *        variable's own storage.
 */
void rt_strvar_assign_text(StrRef target, const char *text);
/**
 * Releases the variable's block when capacity >= 1 and data is not null; the words stay as
 * they are, so the variable is not used again (and not released twice) afterwards.
 * @param var The variable.
 */
void rt_strvar_release(StrVar *var);

/** The platform's DWORD: the exit code of a thread start routine. */
#if defined(_WIN32)
typedef unsigned long RtDword;
#else
typedef uint32_t RtDword;
#endif

/**
 * A launched procedure's arguments and result: a 256-byte zero-filled `malloc` block. The
 * launcher fills it before the thread exists; from then on it belongs to the thread, whose
 * start routine frees it. Offsets 0 to 7 and 12 to 15 stay zero.
 */
typedef struct ThreadArgBlock {
  uint64_t reserved_low;              /**< Offset 0, stays zero. */
  uint32_t result;                    /**< Offset 8: low 32 bits of the procedure's result. */
  uint32_t reserved_high;             /**< Offset 12, stays zero. */
  uint64_t args[RT_THREAD_ARG_WORDS]; /**< Offset 16: one word per parameter, in order
                                           (integers by value, texts by address); the rest
                                           zero. */
} ThreadArgBlock;

/**
 * A thread start routine, as rt_thread_launch runs it; rt_thread_entry of rtlib_inline.hpp
 * makes one for each launched procedure. Called on the new thread with the ThreadArgBlock as
 * its only argument, a start routine must: register rt_stack_fault_handler (first-handler flag
 * 0); call its procedure with the block's argument words in order; store the low 32 bits of
 * the result at offset 8; free the block with msvcrt `free`, exactly once; and return those 32
 * bits, which become the thread's exit code.
 */
typedef RtDword (*RtThreadStart)(void *block);

/**
 * Runs a procedure on a new thread: allocates and zeroes a ThreadArgBlock (exit code 1 when
 * malloc fails), stores the argument words from offset 16 and creates a thread (no security
 * attributes, default stack, running at once) with the block as its parameter. The launcher
 * goes on at once and touches the block no more.
 *
 * A text argument is passed by address and not copied: it must stay valid and unchanged until
 * the procedure has copied it at its entry (a text of read-only data meets this). Results
 * beyond the exit code travel through globals, read only after rt_thread_wait.
 * @param start The start routine, e.g. `rt_thread_entry<procedure>`.
 * @param count Argument words; at most 30 are stored, further ones are dropped.
 * @param words The argument words.
 * @param thread_id Receives the thread identifier (not needed afterwards).
 * @return The thread handle, owned by the launcher until rt_thread_wait closes it (it is no
 *         HandleSlots entry); null when the thread cannot be created, in which case the block
 *         has been freed here and no start routine runs.
 */
void *rt_thread_launch(RtThreadStart start, uint64_t count, const uint64_t *words,
                       RtDword *thread_id);
/**
 * Waits for a thread without a time limit, then closes its handle; neither outcome is looked
 * at. Call it once per handle. A null handle (a failed launch) returns at once: the wait and
 * the close fail silently.
 * @param thread A handle from rt_thread_launch, or null.
 */
void rt_thread_wait(void *thread);

/** The platform's window handle. */
struct HWND__;
/**
 * A per-window message handler, kept by the program in the window's GWLP_USERDATA slot.
 * @return Nonzero to complete the message with that result; 0 to leave it to the window
 *         procedure.
 */
typedef int64_t (*WindowHandler)(struct HWND__ *window, uint32_t message, uint64_t first,
                                 int64_t second);
/**
 * Window procedure: offers the message to the window's handler (GWLP_USERDATA, when not 0)
 * first; WM_DESTROY then posts a quit message (code 0) and gives 0; every other message goes
 * to DefWindowProcA.
 * @param window The window.
 * @param message The message number.
 * @param first Its WPARAM.
 * @param second Its LPARAM.
 * @return The handler's nonzero result, 0 for WM_DESTROY, or DefWindowProcA's result.
 */
int64_t rt_window_proc(struct HWND__ *window, uint32_t message, uint64_t first, int64_t second);
/**
 * As rt_window_proc for a window without a handler; never looks at GWLP_USERDATA.
 * @param window The window.
 * @param message The message number.
 * @param first Its WPARAM.
 * @param second Its LPARAM.
 * @return 0 for WM_DESTROY, otherwise DefWindowProcA's result.
 */
int64_t rt_window_proc_plain(struct HWND__ *window, uint32_t message, uint64_t first,
                             int64_t second);

#ifdef __cplusplus
}
#endif

/** Compile-time check of a record's layout, in C++ and in every C from C99 on. */
#ifdef __cplusplus
#define RT_LAYOUT_CHECK(condition, message) static_assert(condition, message)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define RT_LAYOUT_CHECK(condition, message) _Static_assert(condition, message)
#else
/* C99: an array type of negative size when the condition fails. */
#define RT_LAYOUT_CHECK_NAME(line) rt_layout_check_##line
#define RT_LAYOUT_CHECK_AT(line) RT_LAYOUT_CHECK_NAME(line)
#define RT_LAYOUT_CHECK(condition, message)                                                        \
  typedef char RT_LAYOUT_CHECK_AT(__LINE__)[(condition) ? 1 : -1]
#endif
RT_LAYOUT_CHECK(sizeof(StrView) == RT_STRVIEW_BYTES && offsetof(StrView, length) == 8,
                "StrView is a data pointer and a length");
RT_LAYOUT_CHECK(sizeof(RtString) == RT_STRING_HEADER_BYTES && offsetof(RtString, length) == 8 &&
                    offsetof(RtString, capacity) == 16 && offsetof(RtString, inline_flag) == 24,
                "RtString words are data, length, capacity, inline flag");
RT_LAYOUT_CHECK(sizeof(StrVar) == RT_STRVAR_BYTES &&
                    offsetof(StrVar, capacity) == RT_STRVAR_CAPACITY_OFFSET &&
                    offsetof(StrVar, length) == RT_STRVAR_LENGTH_OFFSET &&
                    offsetof(StrVar, data) == RT_STRVAR_DATA_OFFSET,
                "StrVar words are capacity, length, data in ascending order");
RT_LAYOUT_CHECK(RT_STRREF_LENGTH_OFFSET == RT_STRVAR_LENGTH_OFFSET - RT_STRVAR_DATA_OFFSET &&
                    RT_STRREF_CAPACITY_OFFSET == RT_STRVAR_CAPACITY_OFFSET - RT_STRVAR_DATA_OFFSET,
                "a StrRef is the address of the data word");
RT_LAYOUT_CHECK(sizeof(StrTemp) == RT_STRTEMP_BYTES && offsetof(StrTemp, length) == 8,
                "StrTemp is a data pointer and a length");
RT_LAYOUT_CHECK(sizeof(GlobalStrVar) == RT_GLOBAL_STRVAR_BYTES &&
                    offsetof(GlobalStrVar, empty) == RT_GLOBAL_STRVAR_EMPTY_OFFSET,
                "GlobalStrVar is a StrVar and its 8 zero bytes");
RT_LAYOUT_CHECK(sizeof(HandleRecord) == RT_HANDLE_RECORD_BYTES &&
                    RT_HANDLE_SLOTS_BYTES == RT_HANDLE_SLOT_COUNT * RT_HANDLE_RECORD_BYTES,
                "HandleRecord is five words");
RT_LAYOUT_CHECK(sizeof(ThreadArgBlock) == RT_THREAD_ARG_BLOCK_BYTES &&
                    offsetof(ThreadArgBlock, result) == RT_THREAD_ARG_RESULT_OFFSET &&
                    offsetof(ThreadArgBlock, reserved_high) == 12 &&
                    offsetof(ThreadArgBlock, args) == RT_THREAD_ARG_ARGS_OFFSET,
                "ThreadArgBlock: result at 8, arguments from 16");

#endif /* RTLIB_H */
