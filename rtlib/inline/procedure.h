// Building blocks of inline-profile procedures. A procedure written with them reads like the
// code generated for it: every entry and exit step is one visible line, in its order.
//
//   entry 1-2  `ProcFrame<...> f;`: the prologue saves the caller's frame link and reserves
//              the frame; for a frame over one page the compiler's stack probe (___chkstk_ms)
//              touches it one page at a time from the top down, so that the guard page commits
//              each page in turn
//   entry 3    clear_frame(f)                      (full form)
//   entry 4    register_stack_fault_handler()      (main procedure of the full form only)
//   entry 5    parameters stored in their words
//   entry 6    zero_fixed_slots(f), then the length word of every string variable and the
//              value word of every integer variable
//   entry 7    rt_strvar_init / rt_strvar_init_fixed, result slot first, then declaration order
//   entry 8    working copies of integer parameters; rt_strvar_assign_text of text parameters
//   exit 1     rt_strvar_release of every local string variable (not of a string result)
//   exit 2     close_handle_slots(f)
//   exit 3     return f.result / result_value(f.result), or exit_process(f.result) in main
#pragma once

#include "heap.h"

namespace rt_inline {

// Every procedure's frame has the same size, however few variables it declares.
constexpr size_t frame_bytes = 14032;

// A HandleSlots record: word 0 is a kernel handle (0 when empty), words 1 to 4 belong to the
// record and are zero.
struct HandleRecord {
  uint64_t word[5];
};

// Words that single statements use; nothing is carried from one statement to the next.
struct Scratch {
  StrRef target;  // the variable an assignment writes
  StrView source; // data and length of a source
  HANDLE out;     // standard output of a write
  DWORD written;  // count written by a write
  uint32_t unused;
};

// Statement temporaries: storage of their own, never shared with the fixed slots.
struct Temporaries {
  StrTemp str[8];
  StrView view[8];
  uint64_t word[32]; // integer intermediates, argument words of a launch
  StrRef ref_argument;
  RtDword thread_id;
  uint32_t unused;
};

// Variable kinds.
struct IntParam {
  int64_t incoming;
  int64_t value; // the working copy the body reads and writes
};
struct TextParam {
  const char *incoming; // NUL-terminated text, valid for the call
  StrVar var;           // the copy the body uses
};
template <size_t N> struct FixedStrVar {
  StrVar var;
  char buffer[N];
};

// A global string variable: capacity 0, length 0, data at the zero bytes that follow it.
struct GlobalStrVar {
  StrVar var;
  char empty[8];
};

template <typename Result>
constexpr size_t head_bytes = sizeof(Result) + sizeof(Scratch) + 64 + 15 * sizeof(HandleRecord) +
                              2 * sizeof(uint64_t) + sizeof(Temporaries);

// Result is int64_t for an integer procedure and StrVar for a string function; Variables holds
// the parameters and locals in declaration order.
template <typename Result, typename Variables> struct ProcFrame {
  Result result;           // ResultSlot
  Scratch scratch;         // five words
  char number_buffer[64];  // NumberBuffer
  HandleRecord handle[15]; // HandleSlots, closed 1 to 15 at exit
  uint64_t reserved[2];
  Temporaries temp;
  Variables var;
  unsigned char unused[frame_bytes - head_bytes<Result> - sizeof(Variables)];
};

template <typename Frame> consteval bool frame_layout_ok() {
  return sizeof(Frame) == frame_bytes && alignof(Frame) == 8 &&
         offsetof(Frame, scratch) == sizeof(Frame::result) &&
         offsetof(Frame, handle) == sizeof(Frame::result) + 40 + 64 &&
         offsetof(Frame, reserved) == offsetof(Frame, handle) + 600 &&
         offsetof(Frame, var) == head_bytes<decltype(Frame::result)>;
}

// ---- entry ----------------------------------------------------------------------------------

// Entry 3, full form: one block fill of the whole frame.
template <typename Frame> inline void clear_frame(Frame &f) {
  static_assert(frame_layout_ok<Frame>(), "ProcFrame layout");
  fill_zero(&f, sizeof f);
}

// Entry 4, main procedure of the full form; also the first step of every thread start routine.
inline void register_stack_fault_handler() {
  AddVectoredExceptionHandler(0, rt_stack_fault_handler);
}

// Entry 6: the first word of the ResultSlot (and a string result's length word), the 75 words
// of HandleSlots and the two reserved words. The stores are volatile so that they stay single
// stores in this order and never become a call to memset: the reduced form imports nothing
// from the C runtime.
inline void store_zero(int64_t &word) {
  *static_cast<volatile int64_t *>(&word) = 0;
}
inline void store_zero(uint64_t &word) {
  *static_cast<volatile uint64_t *>(&word) = 0;
}
template <typename Variables> inline void zero_result(ProcFrame<int64_t, Variables> &f) {
  store_zero(f.result);
}
template <typename Variables> inline void zero_result(ProcFrame<StrVar, Variables> &f) {
  store_zero(f.result.capacity);
  store_zero(f.result.length);
}
// The frame's address escapes here, so the whole frame stays one object in memory with every
// store the entry steps make: an optimiser may otherwise keep only the parts that the body uses
// (clang does), and the frame would shrink below its layout and skip its probe.
template <typename Frame> inline void keep_whole_frame(Frame &f) {
  asm volatile("" : : "r"(&f) : "memory");
}
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

// Exit 2: records 1 to 15 in turn; a nonzero word 0 is closed, its outcome not looked at and
// the word not cleared.
template <typename Frame> inline void close_handle_slots(Frame &f) {
  for (const HandleRecord &record : f.handle)
    if (record.word[0] != 0)
      CloseHandle(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(record.word[0])));
}

// Exit 3 of a string function: the ResultSlot's data and length go to the caller, whose
// variable adopts them.
inline StrView result_value(const StrVar &result) {
  return StrView{result.data, static_cast<uint64_t>(result.length)};
}

// Exit 3 of a main procedure: the low 32 bits of the result are the exit code.
[[noreturn]] inline void exit_process(int64_t result) {
  ExitProcess(static_cast<UINT>(static_cast<uint64_t>(result)));
}

// ---- print statements -----------------------------------------------------------------------

// One write per item, each after its own handle lookup; nothing is examined afterwards.
template <typename Frame> inline void write_bytes(Frame &f, const char *bytes, uint64_t count) {
  f.scratch.out = GetStdHandle(STD_OUTPUT_HANDLE);
  WriteFile(f.scratch.out, bytes, static_cast<DWORD>(count), &f.scratch.written, nullptr);
}
// An integer item: formatted into the NumberBuffer with the given format ("%I64d").
template <typename Frame> inline void write_int(Frame &f, const char *format, int64_t value) {
  const int count = wsprintfA(f.number_buffer, format, static_cast<long long>(value));
  write_bytes(f, f.number_buffer, static_cast<uint64_t>(static_cast<int64_t>(count)));
}
// A string variable item: its data and length.
template <typename Frame> inline void write_str(Frame &f, const StrVar &var) {
  write_bytes(f, var.data, static_cast<uint64_t>(var.length));
}

// ---- threads --------------------------------------------------------------------------------

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
  static_assert(sizeof...(P) <= 30, "a ThreadArgBlock holds 30 argument words");
  template <size_t... I>
  static int64_t call(int64_t (*procedure)(P...), const uint64_t *args, Indices<I...>) {
    return procedure(from_word<P>(args[I])...);
  }
  static int64_t call(int64_t (*procedure)(P...), const uint64_t *args) {
    return call(procedure, args, typename MakeIndices<sizeof...(P)>::type{});
  }
};

} // namespace rt_inline

// The thread start routine of one launched procedure: registers the fault handler, calls the
// procedure with the block's argument words in order, keeps the low 32 bits of its result at
// offset 8, frees the block and returns those bits as the thread's exit code.
template <auto Procedure> RtDword rt_thread_entry(void *block) {
  rt_inline::register_stack_fault_handler();
  ThreadArgBlock *const args = static_cast<ThreadArgBlock *>(block);
  const int64_t result = rt_inline::Launched<decltype(Procedure)>::call(Procedure, args->args);
  const uint32_t exit_code = static_cast<uint32_t>(static_cast<uint64_t>(result));
  // A store right before free is dead to the optimiser; volatile keeps it in the block.
  *static_cast<volatile uint32_t *>(&args->result) = exit_code;
  rt_inline::release_block(block);
  return exit_code;
}
