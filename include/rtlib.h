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

/* ---- String record and constructors -------------------------------------------------- */

/* ---- Search and conversion ----------------------------------------------------------- */

/* ---- Edit routines ------------------------------------------------------------------- */

/* ---- In-place routines --------------------------------------------------------------- */

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
