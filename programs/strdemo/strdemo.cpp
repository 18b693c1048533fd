// strdemo: one string value crosses every kind of procedure boundary. make_words builds it and
// returns it, add_bang appends to it through a reference, main copies it into the global
// `saved`, assigns the empty value to its fixed-size `tag` and ends with the sum of three
// lengths as exit code (64 + 0 + 64 = 128). Full frame form; writes nothing.
#include <rtlib_inline.hpp>

using namespace rt_inline;

namespace {
// The constant pool: three literals end to end, no terminator between or after them.
struct Pool {
  char bytes[64];
};
constexpr Pool make_pool() {
  const char text[] = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda!";
  Pool pool{};
  for (size_t i = 0; i < sizeof pool.bytes; ++i)
    pool.bytes[i] = text[i];
  return pool;
}
constexpr Pool literal_pool = make_pool();
constexpr const char *alpha = literal_pool.bytes;              // 5 bytes
constexpr const char *beta_to_lambda = literal_pool.bytes + 5; // 58 bytes
constexpr const char *bang = literal_pool.bytes + 63;          // 1 byte

// Read-only texts of the image that no code uses; a window class for rt_window_proc may take
// one of them as its name.
[[gnu::used]] constexpr char gui_class_name[] = "QELDAR_GUI";
[[gnu::used]] constexpr char gfx_class_name[] = "QELDAR_GFX";

struct MakeWordsVariables {
  StrVar words;
};
struct AddBangVariables {
  StrRef target;
};
struct MainVariables {
  StrVar line;
  FixedStrVar<9> tag;
};
} // namespace

namespace strdemo {

// The global string variable, in its starting state.
constinit GlobalStrVar saved = {{0, 0, saved.empty}, {}};

// String function: returns "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda".
StrView make_words() {
  ProcFrame<StrVar, MakeWordsVariables> f; // entry 1-2
  clear_frame(f);                          // entry 3
  zero_fixed_slots(f);                     // entry 6
  store_zero(f.var.words.length);
  rt_strvar_init(&f.result); // entry 7
  rt_strvar_init(&f.var.words);

  // words = "alpha"
  f.temp.str[0] = rt_strtemp_copy(alpha, 5);
  rt_strvar_adopt(ref_to(f.var.words), f.temp.str[0].data, f.temp.str[0].length);
  // words = words + " beta gamma delta epsilon zeta eta theta iota kappa lambda"
  f.temp.str[0] = rt_strtemp_copy(f.var.words.data, f.var.words.length);
  f.temp.str[1] = rt_strtemp_copy(beta_to_lambda, 58);
  f.temp.str[2] = rt_strtemp_concat(f.temp.str[0], f.temp.str[1]);
  rt_strvar_adopt(ref_to(f.var.words), f.temp.str[2].data, f.temp.str[2].length);
  // return words
  f.scratch.target = ref_to(f.result);
  f.temp.str[0] = rt_strtemp_copy(f.var.words.data, f.var.words.length);
  rt_strvar_adopt(f.scratch.target, f.temp.str[0].data, f.temp.str[0].length);

  rt_strvar_release(&f.var.words); // exit 1
  close_handle_slots(f);           // exit 2
  return result_value(f.result);   // exit 3
}

// Integer procedure: target = target + "!", through the caller's reference. Returns 0.
int64_t add_bang(StrRef target) {
  ProcFrame<int64_t, AddBangVariables> f; // entry 1-2
  clear_frame(f);                         // entry 3
  f.var.target = target;                  // entry 5
  zero_fixed_slots(f);                    // entry 6

  // target = target + "!"
  f.temp.str[0] = rt_strtemp_copy(var_of(f.var.target)->data, var_of(f.var.target)->length);
  f.temp.str[1] = rt_strtemp_copy(bang, 1);
  f.temp.str[2] = rt_strtemp_concat(f.temp.str[0], f.temp.str[1]);
  rt_strvar_adopt(f.var.target, f.temp.str[2].data, f.temp.str[2].length);

  close_handle_slots(f); // exit 2
  return f.result;       // exit 3
}

} // namespace strdemo

extern "C" [[noreturn]] void strdemo_main(void) {
  using namespace strdemo;
  ProcFrame<int64_t, MainVariables> f; // entry 1-2
  clear_frame(f);                      // entry 3
  register_stack_fault_handler();      // entry 4
  zero_fixed_slots(f);                 // entry 6
  store_zero(f.var.line.length);
  store_zero(f.var.tag.var.length);
  rt_strvar_init(&f.var.line); // entry 7
  rt_strvar_init_fixed(&f.var.tag.var, f.var.tag.buffer, 9);

  // line = make_words()
  f.temp.view[0] = make_words();
  rt_strvar_adopt(ref_to(f.var.line), f.temp.view[0].data,
                  static_cast<int64_t>(f.temp.view[0].length));
  // add_bang(line)
  f.temp.ref_argument = ref_to(f.var.line);
  add_bang(f.temp.ref_argument);
  // saved = line
  f.scratch.target = ref_to(saved.var);
  f.temp.str[0] = rt_strtemp_copy(f.var.line.data, f.var.line.length);
  rt_strvar_adopt(f.scratch.target, f.temp.str[0].data, f.temp.str[0].length);
  // tag = the empty value
  f.scratch.source = StrView{nullptr, 0};
  f.temp.str[0] =
      rt_strtemp_copy(f.scratch.source.data, static_cast<int64_t>(f.scratch.source.length));
  rt_strvar_adopt(ref_to(f.var.tag.var), f.temp.str[0].data, f.temp.str[0].length);
  // result = len(line) + len(tag) + len(saved), wrapping like the machine's adds
  f.result = static_cast<int64_t>(static_cast<uint64_t>(f.var.line.length) +
                                  static_cast<uint64_t>(f.var.tag.var.length) +
                                  static_cast<uint64_t>(saved.var.length));

  rt_strvar_release(&f.var.line);    // exit 1
  rt_strvar_release(&f.var.tag.var); // a fixed-size variable that adopted a block owns it too
  close_handle_slots(f);             // exit 2
  exit_process(f.result);            // exit 3
}
