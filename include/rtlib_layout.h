/**
 * @file rtlib_layout.h
 * @brief Byte layout of the inline-profile records as plain constants.
 *
 * Only `#define`s of integer constants live here, so that the file serves a generator that
 * emits C (through rtlib.h, which includes it), C++ or assembly (`#include` it into a `.S`
 * file that goes through the C preprocessor). rtlib.h and rtlib_inline.hpp check every record
 * against these numbers with static assertions.
 *
 * Offsets are in bytes from the lowest address of the record. A procedure frame's parts come
 * in this order from its lowest address: ResultSlot, scratch words, NumberBuffer, HandleSlots,
 * two reserved words, statement temporaries, variables, unused rest. Every part after the
 * ResultSlot moves with the ResultSlot's size, which is #RT_INT_RESULT_BYTES for an integer
 * procedure and #RT_STR_RESULT_BYTES for a string function; the offset macros take that size.
 */
#ifndef RTLIB_LAYOUT_H
#define RTLIB_LAYOUT_H

/* ---- Procedure frame -------------------------------------------------------------------- */

/** Size of every procedure frame, however few variables the procedure declares. */
#define RT_FRAME_BYTES 14032
/** Step of the frame's stack probe: the frame is touched one page at a time, top down. */
#define RT_PAGE_BYTES 4096
/** ResultSlot size of an integer procedure and of a main procedure: one signed 64-bit word. */
#define RT_INT_RESULT_BYTES 8
/** ResultSlot size of a string function: one StrVar. */
#define RT_STR_RESULT_BYTES 24

/** Offset of the scratch words in a frame whose ResultSlot has `result_bytes` bytes. */
#define RT_FRAME_SCRATCH_OFFSET(result_bytes) ((result_bytes) + 0)
/** Offset of the 64-byte NumberBuffer. */
#define RT_FRAME_NUMBER_BUFFER_OFFSET(result_bytes) ((result_bytes) + 40)
/** Offset of HandleSlots, record 1 first. */
#define RT_FRAME_HANDLE_SLOTS_OFFSET(result_bytes) ((result_bytes) + 104)
/** Offset of the two reserved words. */
#define RT_FRAME_RESERVED_OFFSET(result_bytes) ((result_bytes) + 704)
/** Offset of the statement temporaries. */
#define RT_FRAME_TEMPORARIES_OFFSET(result_bytes) ((result_bytes) + 720)
/** Offset of the variables: parameters and locals in declaration order. */
#define RT_FRAME_VARIABLES_OFFSET(result_bytes) ((result_bytes) + 1248)
/** Room left for the variables; a procedure whose variables need more cannot be built. */
#define RT_FRAME_VARIABLES_MAX_BYTES(result_bytes) (RT_FRAME_BYTES - (result_bytes)-1248)

/** Size of the scratch words (five words). */
#define RT_SCRATCH_BYTES 40
/** Scratch: the StrRef of an assignment target. */
#define RT_SCRATCH_TARGET_OFFSET 0
/** Scratch: the StrView (data, length) of a source. */
#define RT_SCRATCH_SOURCE_OFFSET 8
/** Scratch: the standard output handle of a write. */
#define RT_SCRATCH_OUT_OFFSET 24
/** Scratch: the 32-bit count written by a write. */
#define RT_SCRATCH_WRITTEN_OFFSET 32

/** Size of the NumberBuffer, where an integer item of a print statement is formatted. */
#define RT_NUMBER_BUFFER_BYTES 64

/** Number of records in HandleSlots, closed in order 1 to 15 at procedure exit. */
#define RT_HANDLE_SLOT_COUNT 15
/** Words of one HandleRecord. */
#define RT_HANDLE_RECORD_WORDS 5
/** Size of one HandleRecord. */
#define RT_HANDLE_RECORD_BYTES 40
/** Offset of the kernel handle (0 when the record is empty) within a HandleRecord. */
#define RT_HANDLE_RECORD_HANDLE_OFFSET 0
/** Size of all of HandleSlots. */
#define RT_HANDLE_SLOTS_BYTES 600
/** Number of reserved words after HandleSlots; they are zero. */
#define RT_RESERVED_WORDS 2

/** Size of the statement temporaries. */
#define RT_TEMPORARIES_BYTES 528
/** Temporaries: eight StrTemp records. */
#define RT_TEMP_STR_OFFSET 0
/** Temporaries: number of StrTemp records. */
#define RT_TEMP_STR_COUNT 8
/** Temporaries: eight StrView records. */
#define RT_TEMP_VIEW_OFFSET 128
/** Temporaries: number of StrView records. */
#define RT_TEMP_VIEW_COUNT 8
/** Temporaries: 32 words for integer intermediates and the argument words of a launch. */
#define RT_TEMP_WORD_OFFSET 256
/** Temporaries: number of words. */
#define RT_TEMP_WORD_COUNT 32
/** Temporaries: the word that carries a StrRef argument to a call. */
#define RT_TEMP_REF_ARGUMENT_OFFSET 512
/** Temporaries: the 32-bit slot that receives a launched thread's identifier. */
#define RT_TEMP_THREAD_ID_OFFSET 520

/* ---- String variables -------------------------------------------------------------------- */

/** Size of a StrVar. */
#define RT_STRVAR_BYTES 24
/** StrVar: the signed capacity word. */
#define RT_STRVAR_CAPACITY_OFFSET 0
/** StrVar: the signed length word. */
#define RT_STRVAR_LENGTH_OFFSET 8
/** StrVar: the data pointer; a StrRef is this word's address. */
#define RT_STRVAR_DATA_OFFSET 16
/** From a StrRef to the variable's length word (negative: it lies below). */
#define RT_STRREF_LENGTH_OFFSET (-8)
/** From a StrRef to the variable's capacity word (negative: it lies below). */
#define RT_STRREF_CAPACITY_OFFSET (-16)
/** Size of the starting block of a dynamic variable (rt_strvar_init). */
#define RT_STRVAR_START_BLOCK_BYTES 520
/** Capacity of a dynamic variable on its starting block. */
#define RT_STRVAR_START_CAPACITY 512
/** Leading bytes of the starting block that are zero. */
#define RT_STRVAR_START_ZERO_BYTES 8
/** Size of a StrTemp: a data pointer and a signed length. */
#define RT_STRTEMP_BYTES 16
/** Bytes behind a StrTemp's text in its block: its block has length + 8 bytes. */
#define RT_STRTEMP_TAIL_BYTES 8
/** Size of a GlobalStrVar: a StrVar and the 8 zero bytes its data points at. */
#define RT_GLOBAL_STRVAR_BYTES 32
/** GlobalStrVar: offset of the 8 zero bytes. */
#define RT_GLOBAL_STRVAR_EMPTY_OFFSET 24

/* ---- Thread launch ----------------------------------------------------------------------- */

/** Size of a ThreadArgBlock. */
#define RT_THREAD_ARG_BLOCK_BYTES 256
/** ThreadArgBlock: the low 32 bits of the launched procedure's result. */
#define RT_THREAD_ARG_RESULT_OFFSET 8
/** ThreadArgBlock: the first argument word; one word per parameter follows in order. */
#define RT_THREAD_ARG_ARGS_OFFSET 16
/** ThreadArgBlock: room for argument words. */
#define RT_THREAD_ARG_WORDS 30

/* ---- Call-profile records ---------------------------------------------------------------- */

/** Size of a StrView: data pointer, then 64-bit length. */
#define RT_STRVIEW_BYTES 16
/** Size of an RtString header; a record's own text area starts this far into its block. */
#define RT_STRING_HEADER_BYTES 32

/* ---- Exit codes --------------------------------------------------------------------------- */

/** Exit code when an inline-profile allocation fails (at once, with no clean-up). */
#define RT_EXIT_NO_MEMORY 1
/** Exit code of rt_fatal_exit. */
#define RT_EXIT_FATAL 252
/**
 * Exit code of an image linked with the checked runtime (librtlib-checked.a) when a routine
 * finds one of its contracts broken: in the range the platform leaves to applications for
 * failure codes, and none of the runtime's other exit codes.
 */
#define RT_EXIT_CHECK 0xE0C4EC00

#endif /* RTLIB_LAYOUT_H */
