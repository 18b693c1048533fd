// A C++ translation unit of a code generator's output: the public headers, the inline
// building blocks instantiated for every procedure kind.
#include <rtlib.h>
#include <rtlib_inline.hpp>

namespace {
using namespace rt_inline;

struct Locals {
  IntParam n;
  TextParam text;
  FixedStrVar<9> tag;
  StrRef target;
};

int64_t procedure(int64_t n, const char *text) {
  ProcFrame<int64_t, Locals> f;
  clear_frame(f);
  f.var.n.incoming = n;
  f.var.text.incoming = text;
  zero_fixed_slots(f);
  rt_strvar_init(&f.var.text.var);
  rt_strvar_init_fixed(&f.var.tag.var, f.var.tag.buffer, 9);
  rt_strvar_assign_text(ref_to(f.var.text.var), f.var.text.incoming);
  write_int(f, "%I64d", f.var.n.incoming);
  write_str(f, f.var.text.var);
  rt_strvar_release(&f.var.text.var);
  close_handle_slots(f);
  return f.result;
}

StrView function() {
  ProcFrame<StrVar, Locals> f;
  clear_frame(f);
  zero_fixed_slots(f);
  rt_strvar_init(&f.result);
  close_handle_slots(f);
  return result_value(f.result);
}
} // namespace

GlobalStrVar consumer_text = {{0, 0, consumer_text.empty}, {}};

RtThreadStart consumer_start() {
  static_cast<void>(function());
  return rt_thread_entry<procedure>;
}
