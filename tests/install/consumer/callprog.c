/* A call-profile program as a code generator emits it in C, built only against the installed
 * package. Its string variables are RtString records; make_greeting is a string function and
 * add_bang takes its argument by reference. Writes four lines; the exit code is the sum of
 * three lengths. */
#include <rtlib.h>

static char comma_world[] = ", world";
static char bang[] = "!";
static char padding[] = "   ";
static char name_text[] = "Hello";

/* Releases a string variable: a joined record's own text block first, then the record. */
static void release_string(RtString *value) {
  if (value->inline_flag == 0)
    rt_free(value->data);
  rt_free(value);
}

static StrView view_of(char *data, uint64_t length) {
  StrView view;
  view.data = data;
  view.length = length;
  return view;
}

/* String function: name + ", world" in a new record owned by the caller. */
static RtString *make_greeting(const StrView *name) {
  RtString *result = rt_str_blank();
  StrView tail = view_of(comma_world, sizeof comma_world - 1);
  if (result == NULL || rt_str_concat(result, name, &tail) != 0)
    rt_fatal_exit();
  return result;
}

/* By-reference parameter: target = target + "!", the old value released. */
static void add_bang(RtString **target) {
  RtString *joined = rt_str_blank();
  StrView tail = view_of(bang, 1);
  if (joined == NULL || rt_str_concat(joined, (const StrView *)*target, &tail) != 0)
    rt_fatal_exit();
  release_string(*target);
  *target = joined;
}

int64_t program_main(void) {
  StrView name = view_of(name_text, sizeof name_text - 1);
  StrView pad = view_of(padding, sizeof padding - 1);
  RtString *line = make_greeting(&name);
  RtString *shout;
  RtString *padded = rt_str_blank();
  char *padded_block;
  int64_t result;

  add_bang(&line);
  rt_print_line(line->data);

  /* shout = ucase(line), a copy changed in place */
  shout = rt_str_dup((const StrView *)line);
  if (shout == NULL)
    rt_fatal_exit();
  rt_str_ucase((StrView *)shout);
  rt_print_line(shout->data);

  /* padded = trim("   " + line): the trim moves data, so the text block's own address is
   * kept for its release. */
  if (padded == NULL || rt_str_concat(padded, &pad, (const StrView *)line) != 0)
    rt_fatal_exit();
  padded_block = padded->data;
  rt_str_trim((StrView *)padded);
  rt_print_int((int64_t)padded->length);
  rt_print_int(rt_instr((const StrView *)shout, &name) +
               rt_str_count((const StrView *)line, (const StrView *)line));

  result = (int64_t)(line->length + shout->length + padded->length);
  rt_free(padded_block);
  rt_free(padded);
  release_string(shout);
  release_string(line);
  return result;
}
