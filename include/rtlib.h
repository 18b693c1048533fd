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

/* ---- Files and directories ----------------------------------------------------------- */

/* ---- Process, environment and arithmetic --------------------------------------------- */

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
#else
_Static_assert(sizeof(StrView) == 16, "StrView is a pointer and a length");
_Static_assert(sizeof(RtString) == 32, "RtString header is four words");
#endif

#endif /* RTLIB_H */
