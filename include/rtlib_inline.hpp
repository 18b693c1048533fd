/**
 * @file rtlib_inline.hpp
 * @brief Building blocks of inline-profile procedures (C++17 and later).
 *
 * A procedure written with them reads like the code generated for it: every entry and exit
 * step is one visible line, in its order.
 *
 * - entry 1-2: `rt_inline::ProcFrame<...> f;` The prologue saves the caller's frame link and
 *   reserves the frame; for a frame over one page the compiler's stack probe (`___chkstk_ms`,
 *   from libgcc) touches it one page at a time from the top down, so that the guard page
 *   commits each page in turn.
 * - entry 3: `clear_frame(f)` (full form).
 * - entry 4: `register_stack_fault_handler()` (main procedure of the full form only).
 * - entry 5: the parameters stored in their words.
 * - entry 6: `zero_fixed_slots(f)`, then `store_zero` of the length word of every string
 *   variable and of the value word of every integer variable.
 * - entry 7: rt_strvar_init() / rt_strvar_init_fixed(), the ResultSlot of a string function
 *   first, then declaration order.
 * - entry 8: working copies of integer parameters; rt_strvar_assign_text() of text parameters.
 * - exit 1: rt_strvar_release() of every local string variable, not of a string function's
 *   ResultSlot (its block goes to the caller). A fixed-size variable is released too: that
 *   frees nothing while it is on its own buffer, and frees the block it has adopted otherwise.
 * - exit 2: `close_handle_slots(f)` (full form).
 * - exit 3: `return f.result`, `return result_value(f.result)`, or `exit_process(f.result)` in
 *   a main procedure.
 *
 * Build procedures with `-fno-omit-frame-pointer` (entry step 1 keeps the frame link), and
 * without stack protector, exceptions or RTTI. A reduced-form program (no C runtime import at
 * all) also needs `-fno-builtin -fno-tree-loop-distribute-patterns`, so that no loop becomes a
 * call to memset.
 *
 * On Windows the header includes `<windows.h>`, `<stdlib.h>` and `<string.h>`; the heap calls
 * go to msvcrt. Elsewhere (this project's host test build) the platform calls come from a
 * stand-in header, `rt_host_platform.h`, found on the include path.
 */
#ifndef RTLIB_INLINE_HPP
#define RTLIB_INLINE_HPP

#if !defined(__cplusplus) || __cplusplus < 201703L
#error "rtlib_inline.hpp needs C++17 or later; C code uses rtlib.h and rtlib_layout.h"
#endif

#if defined(_WIN32)
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#else
#include "rt_host_platform.h"
#endif

#include "rtlib.h"

#if defined(RTLIB_CHECKED) || defined(RTLIB_DOXYGEN)
/**
 * Checks a string variable for a building block, in a program linked with the checked runtime
 * (librtlib-checked.a) and compiled with `RTLIB_CHECKED` defined, which
 * `rtlib_add_image(... CHECKED ...)` does: the length within the variable's room (capacity, or
 * the fixed buffer less its terminator), a NUL behind the text while there is room for one,
 * and, for a variable that owns its block, no block of rt_alloc(). A broken rule is reported as
 * `rtlib check: <routine>: ...` on standard error with the call site, and the process ends with
 * #RT_EXIT_CHECK.
 * @param var The variable.
 * @param routine The building block's name, for the report.
 */
extern "C" void rt_check_strvar(const StrVar *var, const char *routine);
/** The building block's check of a string variable; nothing without `RTLIB_CHECKED`. */
#define RT_INLINE_CHECK_VAR(var, routine) rt_check_strvar(&(var), routine)
#else
#define RT_INLINE_CHECK_VAR(var, routine) static_cast<void>(0)
#endif

/**
 * Inline-profile building blocks.
 *
 * Platform calls inside this namespace are unqualified on purpose: the host build's stand-in
 * declares recording rt_inline::malloc, free and memset, which unqualified calls from here
 * find before the C library's; on Windows there are none and the calls reach msvcrt.
 */
namespace rt_inline {

// ---- heap blocks ----------------------------------------------------------------------------

/**
 * A block of msvcrt `malloc`; when there is none the process ends at once with exit code 1
 * (#RT_EXIT_NO_MEMORY), releasing no string and closing no handle slot.
 * @param size Bytes wanted.
 * @return The block, never null; released with release_block().
 */
inline void *allocate_or_exit(uint64_t size) {
  void *const block = malloc(static_cast<size_t>(size));
  if (block == nullptr)
    ExitProcess(RT_EXIT_NO_MEMORY);
  return block;
}

/**
 * Releases a block of allocate_or_exit() (msvcrt `free`).
 * @param block The block, or null.
 */
inline void release_block(void *block) {
  free(block);
}

/**
 * Sets bytes to zero with one block fill (msvcrt `memset`).
 * @param block First byte.
 * @param size Bytes to clear.
 */
inline void fill_zero(void *block, uint64_t size) {
  memset(block, 0, static_cast<size_t>(size));
}

/**
 * The variable behind a reference: a StrRef is the address of a StrVar's data word, and the
 * record starts two words before it.
 * @param ref The reference.
 * @return The variable.
 */
inline StrVar *var_of(StrRef ref) {
  return reinterpret_cast<StrVar *>(reinterpret_cast<char *>(ref) - offsetof(StrVar, data));
}
/**
 * A reference to a variable, as by-reference arguments, return statements and assignments
 * to globals use.
 * @param var The variable.
 * @return The address of its data word.
 */
inline StrRef ref_to(StrVar &var) {
  return &var.data;
}

/**
 * Whether a variable owns its block (capacity at least 1 and data not null), i.e. whether
 * adopting into it or releasing it frees the block.
 * @param var The variable.
 * @return true when it does.
 */
inline bool owns_block(const StrVar &var) {
  return var.capacity >= 1 && var.data != nullptr;
}

// ---- frame ----------------------------------------------------------------------------------

/** Every procedure's frame has the same size, however few variables it declares. */
constexpr size_t frame_bytes = RT_FRAME_BYTES;

/** A HandleSlots record (the C record of rtlib.h). */
using ::HandleRecord;

/** Words that single statements use; nothing is carried from one statement to the next. */
struct Scratch {
  StrRef target;   ///< The variable an assignment writes.
  StrView source;  ///< Data and length of a source.
  HANDLE out;      ///< Standard output of a write.
  DWORD written;   ///< Count written by a write.
  uint32_t unused; ///< Pads to five words.
};

/** Statement temporaries: storage of their own, never shared with the fixed slots. */
struct Temporaries {
  StrTemp str[RT_TEMP_STR_COUNT];    ///< Temporary string values of an expression.
  StrView view[RT_TEMP_VIEW_COUNT];  ///< Views, e.g. a string function's returned value.
  uint64_t word[RT_TEMP_WORD_COUNT]; ///< Integer intermediates, argument words of a launch.
  StrRef ref_argument;               ///< The StrRef argument of a by-reference call.
  RtDword thread_id;                 ///< Receives a launched thread's identifier.
  uint32_t unused;                   ///< Pads to a whole word.
};

/** An integer parameter: two words. */
struct IntParam {
  int64_t incoming; ///< The value as it arrived (entry step 5).
  int64_t value;    ///< The working copy the body reads and writes (entry step 8).
};
/** A text parameter passed by value. */
struct TextParam {
  const char *incoming; ///< NUL-terminated text, valid for the call.
  StrVar var;           ///< The dynamic copy the body uses (rt_strvar_assign_text()).
};
/**
 * A fixed-size string variable of N bytes: the record, then its inline buffer. Start it with
 * `rt_strvar_init_fixed(&v.var, v.buffer, N)`.
 * @tparam N Buffer bytes; the variable holds at most N - 1 text bytes from a text assignment.
 */
template <size_t N> struct FixedStrVar {
  StrVar var;     ///< The variable, capacity -N.
  char buffer[N]; ///< Its storage.
};

/** A global string variable (the C record of rtlib.h). */
using ::GlobalStrVar;

/** Bytes of a frame ahead of its variables, for a ResultSlot of type Result. */
template <typename Result>
constexpr size_t head_bytes = sizeof(Result) + sizeof(Scratch) + RT_NUMBER_BUFFER_BYTES
                              + RT_HANDLE_SLOT_COUNT * sizeof(HandleRecord) +
                              RT_RESERVED_WORDS * sizeof(uint64_t) + sizeof(Temporaries);

/**
 * The frame of one procedure call, declared as the procedure's first local (entry steps 1-2)
 * and #RT_FRAME_BYTES bytes whatever it holds; its parts lie at the offsets of
 * rtlib_layout.h. A frame belongs to one call on one thread; other procedures reach into it
 * only through a StrRef handed to them.
 * @tparam Result `int64_t` for an integer or main procedure, StrVar for a string function.
 * @tparam Variables A struct of the parameters and locals in declaration order (IntParam,
 *         TextParam, StrVar, FixedStrVar, `int64_t`, StrRef for a by-reference parameter).
 */
template <typename Result, typename Variables> struct ProcFrame {
  Result result;                              ///< ResultSlot: 0 until the body stores a result.
  Scratch scratch;                            ///< Five scratch words.
  char number_buffer[RT_NUMBER_BUFFER_BYTES]; ///< NumberBuffer of print statements.
  HandleRecord handle[RT_HANDLE_SLOT_COUNT];  ///< HandleSlots, closed 1 to 15 at exit.
  uint64_t reserved[RT_RESERVED_WORDS];       ///< Reserved, zero.
  Temporaries temp;                           ///< Statement temporaries.
  Variables var;                              ///< Parameters and locals.
  unsigned char unused[frame_bytes - head_bytes<Result> - sizeof(Variables)]; ///< The rest.
};

/**
 * `consteval` where the language has it (C++20), else `constexpr`: the layout checks run only
 * while compiling.
 */
#if __cplusplus >= 202002L
#define RT_INLINE_CONSTEVAL consteval
#else
#define RT_INLINE_CONSTEVAL constexpr
#endif

/**
 * Whether a frame type has the fixed size and its parts lie where rtlib_layout.h says.
 * @tparam Frame A ProcFrame.
 * @return true when it does; clear_frame() and zero_fixed_slots() refuse any other frame.
 */
template <typename Frame> RT_INLINE_CONSTEVAL bool frame_layout_ok() {
  constexpr size_t r = sizeof(Frame::result);
  return sizeof(Frame) == RT_FRAME_BYTES && alignof(Frame) == 8 &&
         offsetof(Frame, scratch) == RT_FRAME_SCRATCH_OFFSET(r) &&
         offsetof(Frame, number_buffer) == RT_FRAME_NUMBER_BUFFER_OFFSET(r) &&
         offsetof(Frame, handle) == RT_FRAME_HANDLE_SLOTS_OFFSET(r) &&
         offsetof(Frame, reserved) == RT_FRAME_RESERVED_OFFSET(r) &&
         offsetof(Frame, temp) == RT_FRAME_TEMPORARIES_OFFSET(r) &&
         offsetof(Frame, var) == RT_FRAME_VARIABLES_OFFSET(r);
}

static_assert(sizeof(Scratch) == RT_SCRATCH_BYTES && offsetof(Scratch, target) == 0 &&
                  offsetof(Scratch, source) == RT_SCRATCH_SOURCE_OFFSET &&
                  offsetof(Scratch, out) == RT_SCRATCH_OUT_OFFSET &&
                  offsetof(Scratch, written) == RT_SCRATCH_WRITTEN_OFFSET,
              "Scratch is five words");
static_assert(sizeof(Temporaries) == RT_TEMPORARIES_BYTES &&
                  offsetof(Temporaries, view) == RT_TEMP_VIEW_OFFSET &&
                  offsetof(Temporaries, word) == RT_TEMP_WORD_OFFSET &&
                  offsetof(Temporaries, ref_argument) == RT_TEMP_REF_ARGUMENT_OFFSET &&
                  offsetof(Temporaries, thread_id) == RT_TEMP_THREAD_ID_OFFSET,
              "Temporaries layout");
static_assert(sizeof(IntParam) == 16 && sizeof(TextParam) == 32, "variable kinds");
static_assert(head_bytes<int64_t> == RT_FRAME_VARIABLES_OFFSET(RT_INT_RESULT_BYTES) &&
                  head_bytes<StrVar> == RT_FRAME_VARIABLES_OFFSET(RT_STR_RESULT_BYTES),
              "frame head");

// ---- entry ----------------------------------------------------------------------------------

/**
 * Entry step 3 of the full form: one block fill of the whole frame.
 * @param f The frame.
 */
template <typename Frame> inline void clear_frame(Frame &f) {
  static_assert(frame_layout_ok<Frame>(), "ProcFrame layout");
  fill_zero(&f, sizeof f);
}

/**
 * Entry step 4, main procedure of the full form: registers rt_stack_fault_handler() to be
 * called after handlers already registered. Also the first step of every thread start
 * routine.
 */
inline void register_stack_fault_handler() {
  AddVectoredExceptionHandler(0, rt_stack_fault_handler);
}

/**
 * One zero store that stays a single store in its place and never becomes a memset call: the
 * reduced form imports nothing from the C runtime.
 * @param word The word.
 */
inline void store_zero(int64_t &word) {
  *static_cast<volatile int64_t *>(&word) = 0;
}
/**
 * As store_zero(int64_t &), for an unsigned word.
 * @param word The word.
 */
inline void store_zero(uint64_t &word) {
  *static_cast<volatile uint64_t *>(&word) = 0;
}
/**
 * Entry step 6 for an integer ResultSlot.
 * @param f The frame.
 */
template <typename Variables> inline void zero_result(ProcFrame<int64_t, Variables> &f) {
  store_zero(f.result);
}
/**
 * Entry step 6 for a string function's ResultSlot: its capacity and length words.
 * @param f The frame.
 */
template <typename Variables> inline void zero_result(ProcFrame<StrVar, Variables> &f) {
  store_zero(f.result.capacity);
  store_zero(f.result.length);
}
/**
 * Lets the frame's address escape, so that the whole frame stays one object in memory with
 * every store the entry steps make. Without it an optimiser may keep only the parts of the
 * frame that the body uses (clang does), and the frame would shrink below its layout and go
 * unprobed. zero_fixed_slots() calls it first.
 * @param f The frame.
 */
template <typename Frame> inline void keep_whole_frame(Frame &f) {
  asm volatile("" : : "r"(&f) : "memory");
}

/**
 * Entry step 6, first part: the ResultSlot, the 75 words of HandleSlots and the two reserved
 * words, one store each in this order. (The reduced form does only this much.)
 * @param f The frame.
 */
template <typename Frame> inline void zero_fixed_slots(Frame &f) {
  static_assert(frame_layout_ok<Frame>(), "ProcFrame layout");
  keep_whole_frame(f);
  zero_result(f);
  for (HandleRecord &record : f.handle)
    for (uint64_t &word : record.word)
      store_zero(word);
  store_zero(f.reserved[0]);
  store_zero(f.reserved[1]);
}

// ---- exit -----------------------------------------------------------------------------------

/**
 * Exit step 2: records 1 to 15 in turn; a nonzero word 0 is closed with CloseHandle, its
 * outcome not looked at and the word not cleared.
 * @param f The frame.
 */
template <typename Frame> inline void close_handle_slots(Frame &f) {
  for (const HandleRecord &record : f.handle)
    if (record.word[0] != 0)
      CloseHandle(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(record.word[0])));
}

/**
 * Exit step 3 of a string function: the ResultSlot's data and length go to the caller, whose
 * variable adopts them (rt_strvar_adopt()) and from then on owns the block. The ResultSlot is
 * not released.
 * @param result The ResultSlot.
 * @return Its data and length.
 */
inline StrView result_value(const StrVar &result) {
  RT_INLINE_CHECK_VAR(result, "rt_inline::result_value");
  return StrView{result.data, static_cast<uint64_t>(result.length)};
}

/**
 * Exit step 3 of a main procedure: ends the process with the low 32 bits of its result.
 * @param result The ResultSlot.
 */
[[noreturn]] inline void exit_process(int64_t result) {
  ExitProcess(static_cast<UINT>(static_cast<uint64_t>(result)));
}

// ---- print statements -----------------------------------------------------------------------

/**
 * One item of a print statement: one WriteFile to standard output after its own handle
 * lookup; nothing is examined afterwards. The handle and count go through the frame's
 * scratch words.
 * @param f The frame.
 * @param bytes Read by count (a literal need not be NUL-terminated).
 * @param count Bytes to write (low 32 bits).
 */
template <typename Frame> inline void write_bytes(Frame &f, const char *bytes, uint64_t count) {
  f.scratch.out = GetStdHandle(STD_OUTPUT_HANDLE);
  WriteFile(f.scratch.out, bytes, static_cast<DWORD>(count), &f.scratch.written, nullptr);
}
/**
 * An integer item: formatted into the NumberBuffer with wsprintfA, then written.
 * @param f The frame.
 * @param format The format, "%I64d" for decimal; NUL-terminated.
 * @param value The value.
 */
template <typename Frame> inline void write_int(Frame &f, const char *format, int64_t value) {
  const int count = wsprintfA(f.number_buffer, format, static_cast<long long>(value));
  write_bytes(f, f.number_buffer, static_cast<uint64_t>(static_cast<int64_t>(count)));
}
/**
 * A string variable item: its data and length.
 * @param f The frame.
 * @param var The variable.
 */
template <typename Frame> inline void write_str(Frame &f, const StrVar &var) {
  RT_INLINE_CHECK_VAR(var, "rt_inline::write_str");
  write_bytes(f, var.data, static_cast<uint64_t>(var.length));
}

// ---- threads --------------------------------------------------------------------------------

/// @cond internal
namespace detail {
template <typename T> struct IsPointer { static constexpr bool value = false; };
template <typename T> struct IsPointer<T *> { static constexpr bool value = true; };

// An argument word as the parameter's type: integers by value, texts by address.
template <typename T> inline T from_word(uint64_t word) {
  if constexpr (IsPointer<T>::value)
    return reinterpret_cast<T>(static_cast<uintptr_t>(word));
  else
    return static_cast<T>(word);
}

template <size_t... I> struct Indices {};
template <size_t N, size_t... I> struct MakeIndices : MakeIndices<N - 1, N - 1, I...> {};
template <size_t... I> struct MakeIndices<0, I...> { using type = Indices<I...>; };

template <typename Procedure> struct Launched;
template <typename... P> struct Launched<int64_t (*)(P...)> {
  static_assert(sizeof...(P) <= RT_THREAD_ARG_WORDS, "a ThreadArgBlock holds 30 argument words");
  template <size_t... I>
  static int64_t call(int64_t (*procedure)(P...), const uint64_t *args, Indices<I...>) {
    return procedure(from_word<P>(args[I])...);
  }
  static int64_t call(int64_t (*procedure)(P...), const uint64_t *args) {
    return call(procedure, args, typename MakeIndices<sizeof...(P)>::type{});
  }
};
} // namespace detail
/// @endcond

} // namespace rt_inline

/**
 * The thread start routine of one launched procedure; pass `rt_thread_entry<procedure>` to
 * rt_thread_launch(). It registers rt_stack_fault_handler(), calls the procedure with the
 * block's argument words in order (integer parameters by value, `const char *` parameters
 * by address), stores the low 32 bits of its result at offset 8, frees the block and returns
 * those bits as the thread's exit code.
 * @tparam Procedure An inline-profile procedure `int64_t (*)(...)` of at most 30 parameters.
 * @param block The ThreadArgBlock, which this routine owns and frees.
 * @return The low 32 bits of the procedure's result.
 */
template <auto Procedure> RtDword rt_thread_entry(void *block) {
  rt_inline::register_stack_fault_handler();
  ThreadArgBlock *const args = static_cast<ThreadArgBlock *>(block);
  const int64_t result =
      rt_inline::detail::Launched<decltype(Procedure)>::call(Procedure, args->args);
  const uint32_t exit_code = static_cast<uint32_t>(static_cast<uint64_t>(result));
  // A store right before free is dead to the optimiser; volatile keeps it in the block.
  *static_cast<volatile uint32_t *>(&args->result) = exit_code;
  rt_inline::release_block(block);
  return exit_code;
}

#endif /* RTLIB_INLINE_HPP */
