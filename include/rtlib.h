/*
 * rtlib: the runtime that generated programs call.
 *
 * Every routine has C linkage under the name given here. Integers are signed 64-bit unless
 * a declaration says otherwise; positions in texts are 1-based and 0 means none. Texts are
 * 8-bit bytes in the ANSI code page.
 *
 * Two code profiles use this runtime:
 *   - call profile: the image starts in rt_start, which calls program_main; every service
 *     is an out-of-line routine and the image carries the whole call-profile set;
 *   - inline profile: the program's main procedure is the image entry; the image carries
 *     only a small tail (fault handler, wildcard matcher, window procedure, printer).
 *
 * The lines "call-profile routines: begin/end" below bracket every routine that a
 * call-profile image carries; the build and its tests read them.
 */
#ifndef RTLIB_H
#define RTLIB_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define RT_NORETURN [[noreturn]]
#else
#define RT_NORETURN _Noreturn
#endif

/* The platform's vectored-handler disposition: LONG, a signed 32-bit value. */
#if defined(_WIN32)
typedef long RtDisposition;
#else
typedef int32_t RtDisposition;
#endif
struct _EXCEPTION_POINTERS;

/* ---- Records ----------------------------------------------------------------------- */

/* A data pointer followed by a 64-bit length: how string routines read their arguments. */
typedef struct StrView {
  char *data;
  uint64_t length;
} StrView;

/* Call-profile string record: four header words, then (usually) the text in the same block,
 * 32 bytes from its start. */
typedef struct RtString {
  char *data;
  uint64_t length;
  uint64_t capacity;
  uint64_t inline_flag;
} RtString;

/* ---- Provided by a call-profile program --------------------------------------------- */

/* The program's main procedure: its 32-bit result variable, sign-extended. */
int64_t program_main(void);

/* call-profile routines: begin */

/* ---- Start-up and exit --------------------------------------------------------------- */

/* Image entry of the call profile: registers rt_fault_handler, calls program_main and ends
 * the process with the low 32 bits of its result. */
RT_NORETURN void rt_start(void);
/* Passes every fault on (EXCEPTION_CONTINUE_SEARCH, 0). */
RtDisposition rt_fault_handler(struct _EXCEPTION_POINTERS *info);
/* Ends the process with exit code 252. */
RT_NORETURN void rt_fatal_exit(void);

/* ---- Heap blocks and raw memory ------------------------------------------------------ */

/* Blocks come from the process's default heap, zero-filled (HEAP_ZERO_MEMORY), exactly the
 * size asked for; each routine makes one heap call and keeps no state. */

/* A new zero-filled block, or null. */
void *rt_alloc(uint64_t size);
/* Null block: rt_alloc(size). Otherwise the block at its new size (it may move; added bytes
 * are zero), or null with the old block left valid and unchanged. A size of 0 is passed on. */
void *rt_realloc(void *block, uint64_t size);
/* Null block: 0 and no platform call. Otherwise HeapFree's flag (nonzero = released). */
int64_t rt_free(void *block);
/* Copies count bytes and returns the destination. The result is that of a forward byte copy:
 * a destination inside the source above its start repeats the source's leading bytes. */
void *rt_copy_bytes(void *destination, const void *source, uint64_t count);
/* The byte at the address, 0 to 255. */
int64_t rt_peek_byte(const void *address);
/* Stores the value's low 8 bits at the address; returns 0. */
int64_t rt_poke_byte(void *address, int64_t value);
/* When second >= first (unsigned), stores a NUL at buffer[second - first]; else nothing. */
void rt_terminate_at(char *buffer, uint64_t first, uint64_t second);
/* The first word of a StrView: its data pointer. */
char *rt_view_data(const StrView *view);
/* The second word of a StrView: its length. */
uint64_t rt_view_length(const StrView *view);
/* The value itself. */
int64_t rt_identity(int64_t value);

/* rt_zero and rt_nop take any arguments and read none of them. */
#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 202311L)
#define RT_ANY_ARGUMENTS ...
#else
#define RT_ANY_ARGUMENTS
#endif
/* Always 0. */
int64_t rt_zero(RT_ANY_ARGUMENTS);
/* Does nothing. */
void rt_nop(RT_ANY_ARGUMENTS);
/* When count <= record->length, sets the length to count and stores a NUL at data[count]
 * (only a shortening passes). Always returns count. */
uint64_t rt_set_end(char *data, uint64_t count, StrView *record);
/* Moves count bytes from source to buffer + offset (overlap-safe, memmove); returns
 * buffer + offset. */
void *rt_move_at(void *buffer, uint64_t offset, const void *source, uint64_t count);

/* ---- String record and constructors -------------------------------------------------- */

/* Every record comes from rt_alloc and belongs to the caller, who releases it with rt_free at
 * the record's own address (for rt_str_concat: the text block at data). Shapes:
 *   rt_str_new, rt_str_empty, rt_str_from_char, rt_str_from_int: 64-byte block, capacity 32;
 *   rt_str_bin, rt_str_oct: 104-byte block, capacity 72; rt_str_find_any: 40 bytes, capacity 8;
 *   rt_str_dup and the edit routines: length + 33 bytes, capacity equal to length;
 * all with data at the text area 32 bytes into the block, inline flag 1 and a NUL behind the
 * text. rt_str_blank is the four header words only, all zero. */

/* A new empty record, or null. */
RtString *rt_str_new(void);
/* The same as rt_str_new. */
RtString *rt_str_empty(void);
/* A one-character record holding the code's low 8 bits (code 0 gives length 1), or null. */
RtString *rt_str_from_char(int64_t code);
/* The decimal text of the value ("%I64d"), or null. */
RtString *rt_str_from_int(int64_t value);
/* The binary digits of the value read as unsigned, no sign or prefix, or null. */
RtString *rt_str_bin(uint64_t value);
/* The octal digits of the value read as unsigned, no sign or prefix, or null. */
RtString *rt_str_oct(uint64_t value);
/* A header-only record, all four words zero, or null. */
RtString *rt_str_blank(void);
/* Fills the destination with first and second joined in a new text block of length + 1 bytes:
 * length and capacity the total, inline flag 0. 0 done; 1 when the block cannot be had (or
 * the total does not fit), with the destination unchanged. */
int64_t rt_str_concat(RtString *destination, const StrView *first, const StrView *second);
/* A copy of the text, or null when the text is empty or memory runs out. */
RtString *rt_str_dup(const StrView *text);

/* ---- Search and conversion ----------------------------------------------------------- */

/* 1-based position of the first occurrence of search in text, compared by length (NUL bytes
 * included); 1 for an empty search string; 0 when there is none. Linear time. */
int64_t rt_instr(const StrView *text, const StrView *search);
/* Occurrences of search in text, overlapping ones included, both read NUL-terminated; 0 when
 * the search string is empty or starts with a NUL. */
int64_t rt_str_count(const StrView *text, const StrView *search);
/* 1-based position of the first character of the text (NUL-terminated) not in the set; 0 when
 * there is none. */
int64_t rt_str_verify(const StrView *text, const StrView *set);
/* A new one-character record (40-byte block, capacity 8) holding the first character of the
 * text that is in the set; null when there is none or memory runs out. */
RtString *rt_str_find_any(const StrView *text, const StrView *set);
/* msvcrt atol of the text: a signed 32-bit value, sign-extended. */
int64_t rt_str_val(const StrView *text);
/* The text's first byte, 0 to 255 (0 for an empty text: its terminator). */
int64_t rt_str_asc(const StrView *text);

/* ---- Edit routines ------------------------------------------------------------------- */

/* New records of length + 33 bytes; the arguments stay untouched. */

/* The text without count characters from start (1-based), count cut at the end. A copy
 * (rt_str_dup) when start < 1, count < 1, start beyond the end, or memory runs out. */
RtString *rt_str_remove(const StrView *source, int64_t start, int64_t count);
/* The source with inserted placed before position (clamped to 1 .. length + 1); null when
 * memory runs out. */
RtString *rt_str_insert(const StrView *source, const StrView *inserted, int64_t position);
/* The source with every occurrence of search replaced, scanning on after each one. An
 * occurrence is found NUL-terminated (strstr) and counts only where all length bytes of the
 * search string match inside the source. A copy (rt_str_dup) when the search string is empty,
 * starts with a NUL or does not occur, or memory runs out. */
RtString *rt_str_replace(const StrView *source, const StrView *search, const StrView *replacement);
/* A bare block of length * count bytes holding count copies of the text, no terminator; null
 * when memory runs out or the size does not fit in 64 bits. */
void *rt_str_repeat(const StrView *text, uint64_t count);

/* ---- In-place routines --------------------------------------------------------------- */

/* They change the view's data and length words and its text bytes, nothing else; all return
 * 0. White space is space, TAB, CR and LF. Trims leave a NUL behind the new last character. */

/* Removes white space at both ends: data moves forward, length shrinks. */
int64_t rt_str_trim(StrView *text);
/* Removes white space at the start: data moves forward. */
int64_t rt_str_ltrim(StrView *text);
/* Removes white space at the end: length shrinks. */
int64_t rt_str_rtrim(StrView *text);
/* Lower case in the ANSI code page (CharLowerBuffA over the low 32 bits of length). */
int64_t rt_str_lcase(StrView *text);
/* Upper case in the ANSI code page (CharUpperBuffA over the low 32 bits of length). */
int64_t rt_str_ucase(StrView *text);
/* Reverses the bytes of the text; the terminator stays. */
int64_t rt_str_reverse(StrView *text);

/* ---- Console output ------------------------------------------------------------------ */

/* Writes the value in decimal followed by CR LF in one write to standard output; returns the
 * write's success flag. */
int64_t rt_print_int(int64_t value);
/* Writes the NUL-terminated text, then CR LF, in two writes; returns the second's flag. */
int64_t rt_print_line(const char *text);
/* As rt_print_int(value); the first argument is ignored. */
int64_t rt_print_int_arg2(int64_t ignored, int64_t value);
/* As rt_print_line(text); the first argument is ignored. */
int64_t rt_print_line_arg2(int64_t ignored, const char *text);

/* ---- Console control ----------------------------------------------------------------- */

/* All act on the standard output handle, fetched anew by each call (rt_beep and rt_set_title
 * excepted). With standard output redirected away from a console they fail: the flag is 0. */

/* Moves the cursor to the 0-based cell with the first argument as row (Y) and the second as
 * column (X), each cut to 16 bits, nothing subtracted; returns the platform's flag. */
int64_t rt_locate(int64_t row, int64_t column);
/* Exactly two fills from cell (0, 0): 80 blanks, then attribute 7 (light grey on black) over
 * the same 80 cells. The cursor does not move. Returns the attribute fill's flag. */
int64_t rt_clear_screen(void);
/* Sets attribute (foreground | background << 4) & 0xFF for text written from now on, with no
 * other masking: rt_set_color(14, 1) sets 0x1E, rt_set_color(15, 31) sets 0xFF. Returns the
 * platform's flag. */
int64_t rt_set_color(int64_t foreground, int64_t background);
/* Sounds 800 Hz for 200 ms whatever it is given (callers may pass nothing); returns the
 * platform's flag once the tone has ended. */
int64_t rt_beep(int64_t ignored_frequency, int64_t ignored_duration);
/* Reads the screen buffer size, then sets it to the same width (dwSize.X) and the argument's
 * low 16 bits as rows. Always 0. */
int64_t rt_set_buffer_size(int64_t rows);
/* Sets the console window title (an empty text included). Always 0. */
int64_t rt_set_title(const char *title);

/* ---- Files and directories ----------------------------------------------------------- */

/* Handles are the platform's raw 64-bit values (invalid: -1); the runtime keeps no table of
 * them. Byte counts and sizes reach the platform as their low 32 bits; counts returned are
 * unsigned 32-bit values, zero-extended. Paths go unchanged to the platform's ANSI calls. */

/* Opens an existing file for reading (sharing read and write, no security attributes,
 * normal attributes, no template). 0 with the handle stored through the pointer; 1 on
 * failure, with the handle variable untouched. The first argument is ignored. */
int64_t rt_open_read(int64_t ignored, const char *path, void **handle);
/* Closes the handle. Always 0. */
int64_t rt_close(void *handle);
/* Bytes read; 0 at end of file and 0 when the read fails. */
int64_t rt_read_checked(void *handle, void *buffer, int64_t count);
/* The byte count the platform reports, success or not (0 for a failed read). */
int64_t rt_read_unchecked(void *handle, void *buffer, int64_t count);
/* Bytes written; 0 when the write fails. */
int64_t rt_write_checked(void *handle, const void *buffer, int64_t count);
/* Writes like rt_write_checked. Always 0. */
int64_t rt_write_unchecked(void *handle, const void *buffer, int64_t count);
/* Moves the file pointer by 0 bytes from the origin (0 start, 1 current, 2 end) and returns
 * the new position's low 32 bits, or 0xFFFFFFFF on failure. Second and third arguments are
 * ignored. */
int64_t rt_seek_origin(void *handle, int64_t ignored2, int64_t ignored3, int64_t origin);
/* The platform's flag for flushing the file's buffers. */
int64_t rt_flush(void *handle);
/* Ends the file at the current position. Always 0. */
int64_t rt_set_eof(void *handle);

/* These return the platform's flag: nonzero when done, 0 on failure. */
int64_t rt_delete_file(const char *path);
int64_t rt_move_file(const char *existing, const char *target);
/* Any nonzero fail_if_exists refuses to replace an existing target. */
int64_t rt_copy_file(const char *existing, const char *target, int64_t fail_if_exists);
/* Attribute bits are the platform's FILE_ATTRIBUTE_* values (low 32 bits). */
int64_t rt_set_attributes(const char *path, int64_t attributes);
/* security: the platform's security attributes, or null for the defaults. */
int64_t rt_make_dir(const char *path, void *security);
int64_t rt_change_dir(const char *path);
int64_t rt_remove_dir(const char *path);
/* Stores the current directory in the buffer of the given size: the characters stored
 * (without the NUL); the size needed (with the NUL) when the buffer is too small; 0 on
 * failure. */
int64_t rt_current_dir(int64_t size, char *buffer);
/* Same arguments, call and result as rt_current_dir. */
int64_t rt_current_dir_alt(int64_t size, char *buffer);

/* ---- Process, environment and arithmetic --------------------------------------------- */

/* Sleeps for the low 32 bits of the argument in milliseconds (0 gives up the time slice).
 * Always 0. */
int64_t rt_sleep(int64_t milliseconds);
/* Starts a program (WinExec) with the command line and show-window value: above 31 when it
 * started, otherwise the platform's error number (31 or less). */
int64_t rt_exec(const char *command_line, int64_t show);
/* The platform's own command line text; not a copy. */
char *rt_command_line(void);
/* The platform's environment block: name=value texts, each ending in NUL, one more NUL at
 * the end; null when there is none. Never released. */
char *rt_environment(void);
/* Seeds msvcrt's rand with the low 32 bits of the seed. */
void rt_seed_random(int64_t seed);

/* Integer routines wrap modulo 2^64 and never fail. */

/* base^exponent by square-and-multiply; 0 for any negative exponent (also for bases 1 and
 * -1). rt_ipow(2, 63) is INT64_MIN, rt_ipow(2, 64) is 0. */
int64_t rt_ipow(int64_t base, int64_t exponent);
/* The exponent truncated toward zero to n; base^n by the loop of rt_ipow in double
 * precision, 1.0 / base^-n for negative n (so rt_fpow(0.0, -1.0) is +infinity). A NaN
 * exponent gives NaN. An exponent beyond the signed 64-bit range gives the loop's limit by
 * the base's magnitude m: for a huge positive exponent infinity when m > 1, 1 when m == 1,
 * 0 when m < 1; for a huge negative one 0, 1 and infinity respectively (NaN for a NaN base). */
double rt_fpow(double base, double exponent);
/* -value for negative values; INT64_MIN comes back unchanged. */
int64_t rt_abs(int64_t value);
/* Signed comparisons: a when a <= b (rt_min), a when a >= b (rt_max), otherwise b. */
int64_t rt_min(int64_t a, int64_t b);
int64_t rt_max(int64_t a, int64_t b);
/* The lower limit when value is below it, then the upper limit when the result so far is
 * above it: with crossed limits (lower > upper) the upper limit wins. */
int64_t rt_clamp(int64_t value, int64_t lower, int64_t upper);

/* call-profile routines: end */

/* ---- Inline runtime tail ------------------------------------------------------------- */

/* On STATUS_STACK_OVERFLOW re-arms the guard page (_resetstkoflw) and resumes execution
 * (EXCEPTION_CONTINUE_EXECUTION, -1); passes every other fault on (0). */
RtDisposition rt_stack_fault_handler(struct _EXCEPTION_POINTERS *info);

/* ---- Wildcard matcher ---------------------------------------------------------------- */

/* Whether the whole NUL-terminated text fits the pattern: 1 or 0, and 0 when either pointer is
 * null. '*' (a run acts as one) stands for any stretch, '?' for one character, '#' for one
 * digit, [...] for one character of a class ([!...] negated, ranges x-y compared as signed
 * bytes, no case folding); any other byte for itself, with a-z and A-Z alike. No recursion,
 * no allocation, time within pattern length x text length; calls nothing outside itself. */
int32_t rt_like(const char *pattern, const char *text);
/* As rt_like, for two pointers that are not null. */
int32_t rt_like_match(const char *pattern, const char *text);

/* ---- Inline procedure model: string variables, frames, threads, windows --------------- */

/* A string variable: capacity, length and data in ascending memory order. capacity > 0: data
 * is a heap block (msvcrt malloc) of at least capacity bytes that the variable owns; 0: data
 * is not owned and never released; < 0: data is the variable's own inline buffer of -capacity
 * bytes. length counts text bytes; no terminator is counted. */
typedef struct StrVar {
  int64_t capacity;
  int64_t length;
  char *data;
} StrVar;

/* A reference to a StrVar: the address of its data word (length and capacity lie in the two
 * words before it). By-reference parameters, return statements and global assignments write
 * through one. */
typedef char **StrRef;

/* A statement's temporary string value: a data pointer and a length, the block (length + 8
 * bytes, the text then zero bytes) owned by the statement until a variable adopts it or a
 * join releases it. */
typedef struct StrTemp {
  char *data;
  int64_t length;
} StrTemp;

/* Every allocation below ends the process with ExitProcess(1) at once when malloc fails. */

/* Starts a dynamic variable on a fresh 520-byte block: capacity 512, length 0, the block's
 * first 8 bytes zero. */
void rt_strvar_init(StrVar *var);
/* Starts a fixed-size variable on its inline buffer of size bytes (set to zero): capacity
 * -size, length 0. */
void rt_strvar_init_fixed(StrVar *var, char *buffer, int64_t size);
/* A fresh block of length + 8 bytes: the length bytes at data, then 8 zero bytes. */
StrTemp rt_strtemp_copy(const char *data, int64_t length);
/* Joins two temporaries into a block of total + 8 bytes (the text, then at least 4 zero
 * bytes) and releases both operands. Two empty operands give (null, 0) and no block. */
StrTemp rt_strtemp_concat(StrTemp left, StrTemp right);
/* Moves the value into the variable behind target without copying: releases the old block
 * when capacity >= 1, then data = data, length = capacity = length. */
void rt_strvar_adopt(StrRef target, char *data, int64_t length);
/* Copies NUL-terminated text into the variable behind target. Fixed-size: cut to -capacity - 1
 * bytes. Otherwise the block is reused when capacity >= length + 1, else replaced by one of
 * exactly length + 1 bytes (capacity = length + 1; the old one released when owned). */
void rt_strvar_assign_text(StrRef target, const char *text);
/* Releases the variable's block when capacity >= 1; the words stay as they are. */
void rt_strvar_release(StrVar *var);

/* The platform's DWORD: the exit code of a thread start routine. */
#if defined(_WIN32)
typedef unsigned long RtDword;
#else
typedef uint32_t RtDword;
#endif

/* A launched procedure's arguments and result: a 256-byte zero-filled malloc block. The
 * launcher fills it before the thread exists; the thread frees it. */
typedef struct ThreadArgBlock {
  uint64_t reserved_low;  /* offset 0, stays zero */
  uint32_t result;        /* offset 8: low 32 bits of the procedure's result */
  uint32_t reserved_high; /* offset 12, stays zero */
  uint64_t args[30];      /* offset 16: one word per parameter, in order; the rest zero */
} ThreadArgBlock;

/* A thread start routine (rt_thread_entry of one procedure): gets the block, returns the
 * thread's exit code. */
typedef RtDword (*RtThreadStart)(void *block);

/* Allocates and zeroes a ThreadArgBlock (exit code 1 when malloc fails), stores count words
 * (at most 30) from offset 16 and creates a thread running start with the block as its
 * parameter; thread_id receives the thread identifier. Returns the thread handle, or null
 * when the thread cannot be created (the block is then freed here). */
void *rt_thread_launch(RtThreadStart start, uint64_t count, const uint64_t *words,
                       RtDword *thread_id);
/* Waits for the thread without a time limit, then closes its handle. */
void rt_thread_wait(void *thread);

/* The platform's window handle and a per-window message handler kept in GWLP_USERDATA. A
 * handler's nonzero result completes the message; 0 leaves it to the window procedure. */
struct HWND__;
typedef int64_t (*WindowHandler)(struct HWND__ *window, uint32_t message, uint64_t first,
                                 int64_t second);
/* Window procedure: offers the message to the window's handler first; WM_DESTROY then posts
 * a quit message (code 0) and gives 0; every other message goes to DefWindowProcA. */
int64_t rt_window_proc(struct HWND__ *window, uint32_t message, uint64_t first, int64_t second);
/* As rt_window_proc for a window without a handler; never looks at GWLP_USERDATA. */
int64_t rt_window_proc_plain(struct HWND__ *window, uint32_t message, uint64_t first,
                             int64_t second);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
static_assert(sizeof(StrView) == 16, "StrView is a pointer and a length");
static_assert(offsetof(StrView, length) == 8, "StrView length follows data");
static_assert(sizeof(RtString) == 32, "RtString header is four words");
static_assert(offsetof(RtString, length) == 8 && offsetof(RtString, capacity) == 16 &&
                  offsetof(RtString, inline_flag) == 24,
              "RtString words are data, length, capacity, inline flag");
static_assert(sizeof(StrVar) == 24, "StrVar is three words");
static_assert(offsetof(StrVar, capacity) == 0 && offsetof(StrVar, length) == 8 &&
                  offsetof(StrVar, data) == 16,
              "StrVar words are capacity, length, data in ascending order");
static_assert(sizeof(StrTemp) == 16 && offsetof(StrTemp, length) == 8,
              "StrTemp is a data pointer and a length");
static_assert(sizeof(ThreadArgBlock) == 256, "ThreadArgBlock is 256 bytes");
static_assert(offsetof(ThreadArgBlock, result) == 8 &&
                  offsetof(ThreadArgBlock, reserved_high) == 12 &&
                  offsetof(ThreadArgBlock, args) == 16,
              "ThreadArgBlock: result at 8, arguments from 16");
#else
_Static_assert(sizeof(StrView) == 16, "StrView is a pointer and a length");
_Static_assert(sizeof(RtString) == 32, "RtString header is four words");
_Static_assert(sizeof(StrVar) == 24, "StrVar is three words");
_Static_assert(sizeof(ThreadArgBlock) == 256, "ThreadArgBlock is 256 bytes");
#endif

#endif /* RTLIB_H */
