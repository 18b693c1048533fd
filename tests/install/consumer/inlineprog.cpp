// An inline-profile program as a code generator emits it, built only against the installed
// package: a string function, a by-reference call, a fixed-size variable, a procedure run on a
// second thread that leaves its results in globals, and print statements. Full frame form.
#include <rtlib_inline.hpp>

using namespace rt_inline;

namespace {
// The constant pool: literals end to end, no terminator between them.
constexpr char pool[] = "inline profile!tag=sum=shared=worker a= b= msg=";
constexpr const char *text_inline = pool;        // 6 bytes
constexpr const char *text_profile = pool + 6;   // 8 bytes
constexpr const char *text_bang = pool + 14;     // 1 byte
constexpr const char *text_tag = pool + 15;      // 4 bytes
constexpr const char *text_sum = pool + 19;      // 4 bytes
constexpr const char *text_shared = pool + 23;   // 7 bytes
constexpr const char *text_worker_a = pool + 30; // 9 bytes
constexpr const char *text_b = pool + 39;        // 3 bytes
constexpr const char *text_msg = pool + 42;      // 5 bytes
constexpr char line_end[2] = {'\r', '\n'};
constexpr char number_format[] = "%I64d";
constexpr char threads[] = "threads";     // by-value text argument of the launch
constexpr char truncated[] = "truncated"; // assigned to the fixed-size variable

struct LabelVariables {
  StrVar words;
};
struct AppendVariables {
  StrRef target;
};
struct WorkerVariables {
  IntParam a, b;
  TextParam msg;
};
struct MainVariables {
  StrVar line;
  FixedStrVar<6> tag;
  int64_t thread;
};

// Globals: written by the worker, read by main after the wait.
int64_t sum = 0;
GlobalStrVar shared = {{0, 0, shared.empty}, {}};

// String function: "inline" + " profile".
StrView make_label() {
  ProcFrame<StrVar, LabelVariables> f;
  clear_frame(f);
  zero_fixed_slots(f);
  store_zero(f.var.words.length);
  rt_strvar_init(&f.result);
  rt_strvar_init(&f.var.words);
  // words = "inline" + " profile"
  f.temp.str[0] = rt_strtemp_copy(text_inline, 6);
  f.temp.str[1] = rt_strtemp_copy(text_profile, 8);
  f.temp.str[2] = rt_strtemp_concat(f.temp.str[0], f.temp.str[1]);
  rt_strvar_adopt(ref_to(f.var.words), f.temp.str[2].data, f.temp.str[2].length);
  // return words
  f.scratch.target = ref_to(f.result);
  f.temp.str[0] = rt_strtemp_copy(f.var.words.data, f.var.words.length);
  rt_strvar_adopt(f.scratch.target, f.temp.str[0].data, f.temp.str[0].length);
  rt_strvar_release(&f.var.words);
  close_handle_slots(f);
  return result_value(f.result);
}

// By-reference parameter: target = target + "!".
int64_t append_bang(StrRef target) {
  ProcFrame<int64_t, AppendVariables> f;
  clear_frame(f);
  f.var.target = target;
  zero_fixed_slots(f);
  f.temp.str[0] = rt_strtemp_copy(var_of(f.var.target)->data, var_of(f.var.target)->length);
  f.temp.str[1] = rt_strtemp_copy(text_bang, 1);
  f.temp.str[2] = rt_strtemp_concat(f.temp.str[0], f.temp.str[1]);
  rt_strvar_adopt(f.var.target, f.temp.str[2].data, f.temp.str[2].length);
  close_handle_slots(f);
  return f.result;
}

// Run on the second thread: prints its arguments, leaves a + b in sum and its text in shared,
// returns a * b as the thread's exit code.
int64_t worker(int64_t a, int64_t b, const char *msg) {
  ProcFrame<int64_t, WorkerVariables> f;
  clear_frame(f);
  f.var.a.incoming = a;
  f.var.b.incoming = b;
  f.var.msg.incoming = msg;
  zero_fixed_slots(f);
  store_zero(f.var.a.value);
  store_zero(f.var.b.value);
  store_zero(f.var.msg.var.length);
  rt_strvar_init(&f.var.msg.var);
  f.var.a.value = f.var.a.incoming;
  f.var.b.value = f.var.b.incoming;
  rt_strvar_assign_text(ref_to(f.var.msg.var), f.var.msg.incoming);
  // print "worker a=", a, " b=", b, " msg=", msg
  write_bytes(f, text_worker_a, 9);
  write_int(f, number_format, f.var.a.value);
  write_bytes(f, text_b, 3);
  write_int(f, number_format, f.var.b.value);
  write_bytes(f, text_msg, 5);
  write_str(f, f.var.msg.var);
  write_bytes(f, line_end, 2);
  // sum = a + b; shared = msg; result = a * b
  sum = static_cast<int64_t>(static_cast<uint64_t>(f.var.a.value) +
                             static_cast<uint64_t>(f.var.b.value));
  f.scratch.target = ref_to(shared.var);
  f.temp.str[0] = rt_strtemp_copy(f.var.msg.var.data, f.var.msg.var.length);
  rt_strvar_adopt(f.scratch.target, f.temp.str[0].data, f.temp.str[0].length);
  f.result = static_cast<int64_t>(static_cast<uint64_t>(f.var.a.value) *
                                  static_cast<uint64_t>(f.var.b.value));
  rt_strvar_release(&f.var.msg.var);
  close_handle_slots(f);
  return f.result;
}
} // namespace

extern "C" [[noreturn]] void inlineprog_main(void) {
  ProcFrame<int64_t, MainVariables> f;
  clear_frame(f);
  register_stack_fault_handler();
  zero_fixed_slots(f);
  store_zero(f.var.line.length);
  store_zero(f.var.tag.var.length);
  store_zero(f.var.thread);
  rt_strvar_init(&f.var.line);
  rt_strvar_init_fixed(&f.var.tag.var, f.var.tag.buffer, 6);

  // line = make_label()
  f.temp.view[0] = make_label();
  rt_strvar_adopt(ref_to(f.var.line), f.temp.view[0].data,
                  static_cast<int64_t>(f.temp.view[0].length));
  // append_bang(line)
  f.temp.ref_argument = ref_to(f.var.line);
  append_bang(f.temp.ref_argument);
  // tag = "truncated", cut to the variable's 5 text bytes
  rt_strvar_assign_text(ref_to(f.var.tag.var), truncated);
  // thread = launch worker(6, 7, "threads"); wait thread
  f.temp.word[0] = 6;
  f.temp.word[1] = 7;
  f.temp.word[2] = reinterpret_cast<uintptr_t>(threads);
  f.var.thread = static_cast<int64_t>(reinterpret_cast<uintptr_t>(
      rt_thread_launch(rt_thread_entry<worker>, 3, f.temp.word, &f.temp.thread_id)));
  rt_thread_wait(reinterpret_cast<void *>(static_cast<uintptr_t>(f.var.thread)));
  // print line; print "tag=", tag; print "sum=", sum; print "shared=", shared
  write_str(f, f.var.line);
  write_bytes(f, line_end, 2);
  write_bytes(f, text_tag, 4);
  write_str(f, f.var.tag.var);
  write_bytes(f, line_end, 2);
  write_bytes(f, text_sum, 4);
  write_int(f, number_format, sum);
  write_bytes(f, line_end, 2);
  write_bytes(f, text_shared, 7);
  write_str(f, shared.var);
  write_bytes(f, line_end, 2);
  // result = len(line) + len(tag) + sum
  f.result = static_cast<int64_t>(static_cast<uint64_t>(f.var.line.length) +
                                  static_cast<uint64_t>(f.var.tag.var.length) +
                                  static_cast<uint64_t>(sum));
  rt_strvar_release(&f.var.line);
  rt_strvar_release(&f.var.tag.var);
  close_handle_slots(f);
  exit_process(f.result);
}
