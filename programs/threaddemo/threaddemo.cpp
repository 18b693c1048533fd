// threaddemo: main runs worker(1, 2, 3, 4, 5, "hello") on a second thread and waits for it. The
// worker prints its arguments, leaves their sum in the global `total` and a copy of its text in
// the global `message`; main then prints both. Full frame form; 53 bytes out, exit code 0.
#include <rtlib_inline.hpp>

using namespace rt_inline;

namespace {
constexpr char text_a[] = "a=";
constexpr char text_b[] = " b=";
constexpr char text_c[] = " c=";
constexpr char text_d[] = " d=";
constexpr char text_e[] = " e=";
constexpr char text_msg[] = " msg=";
constexpr char hello[] = "hello";
constexpr char text_result[] = "result=";
constexpr char text_message[] = "msg=";
constexpr char line_end[2] = {'\r', '\n'};
constexpr char number_format[] = "%I64d";

// Read-only texts of the image that no code uses; a window class for rt_window_proc may take
// one of them as its name.
[[gnu::used]] constexpr char gui_class_name[] = "QELDAR_GUI";
[[gnu::used]] constexpr char gfx_class_name[] = "QELDAR_GFX";

struct WorkerVariables {
  IntParam a, b, c, d, e;
  TextParam msg;
};
struct MainVariables {
  int64_t thread; // the worker thread's handle
};
} // namespace

namespace threaddemo {

// Globals: written by the worker, read by main after the wait.
constinit int64_t total = 0;
constinit GlobalStrVar message = {{0, 0, message.empty}, {}};

int64_t worker(int64_t p1, int64_t p2, int64_t p3, int64_t p4, int64_t p5, const char *p6) {
  ProcFrame<int64_t, WorkerVariables> f; // entry 1-2
  clear_frame(f);                        // entry 3
  f.var.a.incoming = p1;                 // entry 5
  f.var.b.incoming = p2;
  f.var.c.incoming = p3;
  f.var.d.incoming = p4;
  f.var.e.incoming = p5;
  f.var.msg.incoming = p6;
  zero_fixed_slots(f); // entry 6
  store_zero(f.var.a.value);
  store_zero(f.var.b.value);
  store_zero(f.var.c.value);
  store_zero(f.var.d.value);
  store_zero(f.var.e.value);
  store_zero(f.var.msg.var.length);
  rt_strvar_init(&f.var.msg.var);   // entry 7
  f.var.a.value = f.var.a.incoming; // entry 8
  f.var.b.value = f.var.b.incoming;
  f.var.c.value = f.var.c.incoming;
  f.var.d.value = f.var.d.incoming;
  f.var.e.value = f.var.e.incoming;
  rt_strvar_assign_text(ref_to(f.var.msg.var), f.var.msg.incoming);

  // print "a=", a, " b=", b, " c=", c, " d=", d, " e=", e, " msg=", msg
  write_bytes(f, text_a, 2);
  write_int(f, number_format, f.var.a.value);
  write_bytes(f, text_b, 3);
  write_int(f, number_format, f.var.b.value);
  write_bytes(f, text_c, 3);
  write_int(f, number_format, f.var.c.value);
  write_bytes(f, text_d, 3);
  write_int(f, number_format, f.var.d.value);
  write_bytes(f, text_e, 3);
  write_int(f, number_format, f.var.e.value);
  write_bytes(f, text_msg, 5);
  write_str(f, f.var.msg.var);
  write_bytes(f, line_end, 2);
  // total = a + b + c + d + e, wrapping like the machine's adds
  total = static_cast<int64_t>(
      static_cast<uint64_t>(f.var.a.value) + static_cast<uint64_t>(f.var.b.value) +
      static_cast<uint64_t>(f.var.c.value) + static_cast<uint64_t>(f.var.d.value) +
      static_cast<uint64_t>(f.var.e.value));
  // message = msg
  f.scratch.target = ref_to(message.var);
  f.temp.str[0] = rt_strtemp_copy(f.var.msg.var.data, f.var.msg.var.length);
  rt_strvar_adopt(f.scratch.target, f.temp.str[0].data, f.temp.str[0].length);
  // result = total
  f.result = total;

  rt_strvar_release(&f.var.msg.var); // exit 1
  close_handle_slots(f);             // exit 2
  return f.result;                   // exit 3
}

} // namespace threaddemo

extern "C" [[noreturn]] void threaddemo_main(void) {
  using namespace threaddemo;
  ProcFrame<int64_t, MainVariables> f; // entry 1-2
  clear_frame(f);                      // entry 3
  register_stack_fault_handler();      // entry 4
  zero_fixed_slots(f);                 // entry 6
  store_zero(f.var.thread);

  // thread = launch worker(1, 2, 3, 4, 5, "hello")
  f.temp.word[0] = 1;
  f.temp.word[1] = 2;
  f.temp.word[2] = 3;
  f.temp.word[3] = 4;
  f.temp.word[4] = 5;
  f.temp.word[5] = reinterpret_cast<uintptr_t>(hello);
  f.var.thread = static_cast<int64_t>(reinterpret_cast<uintptr_t>(
      rt_thread_launch(rt_thread_entry<worker>, 6, f.temp.word, &f.temp.thread_id)));
  // wait thread
  rt_thread_wait(reinterpret_cast<void *>(static_cast<uintptr_t>(f.var.thread)));
  // print "result=", total
  write_bytes(f, text_result, 7);
  write_int(f, number_format, total);
  write_bytes(f, line_end, 2);
  // print "msg=", message
  write_bytes(f, text_message, 4);
  write_str(f, message.var);
  write_bytes(f, line_end, 2);
  // result = 0
  f.result = 0;

  close_handle_slots(f);  // exit 2
  exit_process(f.result); // exit 3
}
