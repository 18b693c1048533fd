// The broken contracts of the checked runtime's tests, one case each: the routine, the argument
// the report names, how the contract is broken, a piece of what the report says, and the code
// that breaks it. Each case is a function break_<routine>_<argument>_<how> of its own, so that
// a test can find the report's call site inside it in a link map. The Windows image
// check_breaker runs them one by one; the host tests run them on the stand-in.
#pragma once

#include <stdlib.h>
#include <string.h>

#include "rtlib.h"
#include "rtlib_inline.hpp"

namespace {

StrView view_of(const char *text) {
  return StrView{const_cast<char *>(text), strlen(text)};
}
// A record released already (a copy of "hello": a block of 38 bytes), as a view.
StrView *released_record() {
  StrView hello = view_of("hello");
  RtString *record = rt_str_dup(&hello);
  rt_free(record);
  return reinterpret_cast<StrView *>(record);
}
// The text of such a record, inside the released block (its data word is poisoned).
char *released_text() {
  return reinterpret_cast<char *>(released_record()) + RT_STRING_HEADER_BYTES;
}
// A block of 4 text bytes and no NUL.
char *unterminated() {
  char *block = static_cast<char *>(rt_alloc(4));
  memcpy(block, "abcd", 4);
  return block;
}
// A text of read-only data.
const char read_only[] = "  read-only text  ";
StrView read_only_view() {
  return view_of(read_only);
}
// An address of no memory at all (the platform keeps the lowest 64 KiB unmapped).
const void *const unmapped = reinterpret_cast<const void *>(uintptr_t{0x1000});
// A block of 8 bytes.
char *block8() {
  return static_cast<char *>(rt_alloc(8));
}
int64_t sink;
int64_t nothing() {
  return 0;
}

} // namespace

#define CASE_FUNCTION(routine, argument, how) break_##routine##_##argument##_##how
#define BREAK_AS(routine, reported, argument, how, says, ...)                                      \
  extern "C" __attribute__((noinline)) void CASE_FUNCTION(routine, argument, how)() {              \
    __VA_ARGS__;                                                                                   \
  }
#define BREAK(routine, argument, how, says, ...)                                                   \
  BREAK_AS(routine, routine, argument, how, says, __VA_ARGS__)

// The cases: the routine, the argument it names, how the contract is broken, a piece of what
// the report says, and the call that breaks it.
#define CASES(X, X_AS)                                                                             \
  X(rt_set_title, title, unterminated, "has no NUL before the end of its block of 4 bytes",        \
    rt_set_title(unterminated()))                                                                  \
  X(rt_print_line, text, released, "lies in a released block of 38 bytes",                         \
    rt_print_line(released_text()))                                                                \
  X(rt_print_line_arg2, text, null, "is null", rt_print_line_arg2(0, nullptr))                     \
  X(rt_make_dir, path, null, "is null", rt_make_dir(nullptr, nullptr))                             \
  X(rt_change_dir, path, unterminated, "has no NUL", rt_change_dir(unterminated()))                \
  X(rt_remove_dir, path, released, "lies in a released block", rt_remove_dir(released_text()))     \
  X(rt_current_dir, buffer, short, "reaches 92 bytes past the end of its block of 8 bytes",        \
    rt_current_dir(100, block8()))                                                                 \
  X_AS(rt_current_dir_alt, rt_current_dir, buffer, read_only, "is no writable memory",             \
       rt_current_dir_alt(8, const_cast<char *>(read_only)))                                       \
  X(rt_open_read, path, unterminated, "has no NUL", {                                              \
    void *handle = nullptr;                                                                        \
    rt_open_read(0, unterminated(), &handle);                                                      \
  })                                                                                               \
  X(rt_open_read, handle, read_only, "is no writable memory",                                      \
    rt_open_read(0, "x", reinterpret_cast<void **>(const_cast<char *>(read_only))))                \
  X(rt_read_checked, buffer, short, "reaches 8 bytes past the end of its block of 8 bytes",        \
    rt_read_checked(nullptr, block8(), 16))                                                        \
  X(rt_read_unchecked, buffer, released, "lies in a released block",                               \
    rt_read_unchecked(nullptr, released_text(), 1))                                                \
  X(rt_write_checked, buffer, null, "is null (5 bytes to reach)",                                  \
    rt_write_checked(nullptr, nullptr, 5))                                                         \
  X(rt_write_unchecked, buffer, short, "reaches 1 bytes past the end of its block of 4 bytes",     \
    rt_write_unchecked(nullptr, unterminated(), 5))                                                \
  X(rt_move_file, existing, null, "is null", rt_move_file(nullptr, "b"))                           \
  X(rt_move_file, target, unterminated, "has no NUL", rt_move_file("a", unterminated()))           \
  X(rt_copy_file, existing, released, "lies in a released block",                                  \
    rt_copy_file(released_text(), "b", 0))                                                         \
  X(rt_copy_file, target, null, "is null", rt_copy_file("a", nullptr, 0))                          \
  X(rt_delete_file, path, unterminated, "has no NUL", rt_delete_file(unterminated()))              \
  X(rt_set_attributes, path, null, "is null", rt_set_attributes(nullptr, 0))                       \
  X(rt_strtemp_concat, left, negative, "has a negative length",                                    \
    rt_strtemp_concat(StrTemp{nullptr, -1}, StrTemp{nullptr, 0}))                                  \
  X(rt_strtemp_concat, right, rt_alloc, "is a block of rt_alloc (8 bytes)",                        \
    rt_strtemp_concat(StrTemp{nullptr, 0}, StrTemp{block8(), 8}))                                  \
  X(rt_strtemp_concat, right, shared, "is the block of the other operand too", {                   \
    StrTemp t = rt_strtemp_copy("ab", 2);                                                          \
    rt_strtemp_concat(t, t);                                                                       \
  })                                                                                               \
  X(rt_strtemp_copy, length, negative, "is negative", rt_strtemp_copy("ab", -2))                   \
  X(rt_strtemp_copy, data, null, "is null (3 bytes to reach)", rt_strtemp_copy(nullptr, 3))        \
  X(rt_strvar_adopt, target, long, "has a length of 9 beyond its room of 8 bytes", {               \
    StrVar var{8, 9, static_cast<char *>(malloc(16))};                                             \
    rt_strvar_adopt(&var.data, nullptr, 0);                                                        \
  })                                                                                               \
  X(rt_strvar_adopt, data, own_block, "is the variable's own current block", {                     \
    StrVar var{};                                                                                  \
    rt_strvar_init(&var);                                                                          \
    rt_strvar_adopt(&var.data, var.data, 0);                                                       \
  })                                                                                               \
  X(rt_strvar_assign_text, target, rt_alloc, "owns a block of rt_alloc (8 bytes)", {               \
    StrVar var{8, 0, block8()};                                                                    \
    rt_strvar_assign_text(&var.data, "x");                                                         \
  })                                                                                               \
  X(rt_strvar_assign_text, text, unterminated, "has no NUL", {                                     \
    StrVar var{};                                                                                  \
    rt_strvar_init(&var);                                                                          \
    rt_strvar_assign_text(&var.data, unterminated());                                              \
  })                                                                                               \
  X(rt_strvar_assign_text, text, own_storage, "lies in the variable's own storage (2 bytes", {     \
    StrVar var{};                                                                                  \
    rt_strvar_init(&var);                                                                          \
    rt_strvar_assign_text(&var.data, var.data + 2);                                                \
  })                                                                                               \
  X(rt_strvar_init, var, read_only, "is no writable memory",                                       \
    rt_strvar_init(reinterpret_cast<StrVar *>(const_cast<char *>(read_only))))                     \
  X(rt_strvar_init_fixed, var, null, "is null", rt_strvar_init_fixed(nullptr, nullptr, 1))         \
  X(rt_strvar_init_fixed, size, zero, "is below 1", {                                              \
    StrVar var{};                                                                                  \
    char buffer[4];                                                                                \
    rt_strvar_init_fixed(&var, buffer, 0);                                                         \
  })                                                                                               \
  X(rt_strvar_init_fixed, buffer, short, "reaches 8 bytes past the end of its block of 8", {       \
    StrVar var{};                                                                                  \
    rt_strvar_init_fixed(&var, block8(), 16);                                                      \
  })                                                                                               \
  X(rt_strvar_release, var, unterminated, "has no NUL behind its 4 bytes of text", {               \
    char *block = static_cast<char *>(malloc(8));                                                  \
    memcpy(block, "abcdefgh", 8);                                                                  \
    StrVar var{8, 4, block};                                                                       \
    rt_strvar_release(&var);                                                                       \
  })                                                                                               \
  X(rt_thread_launch, start, null, "is null", {                                                    \
    RtDword id = 0;                                                                                \
    rt_thread_launch(nullptr, 0, nullptr, &id);                                                    \
  })                                                                                               \
  X(rt_thread_launch, words, released, "lies in a released block", {                               \
    RtDword id = 0;                                                                                \
    rt_thread_launch(rt_thread_entry<nothing>, 2,                                                  \
                     reinterpret_cast<const uint64_t *>(released_record()), &id);                  \
  })                                                                                               \
  X(rt_thread_launch, thread_id, read_only, "is no writable memory",                               \
    rt_thread_launch(rt_thread_entry<nothing>, 0, nullptr,                                         \
                     reinterpret_cast<RtDword *>(const_cast<char *>(read_only))))                  \
  X(rt_copy_bytes, destination, short, "reaches 8 bytes past the end of its block of 8 bytes",     \
    rt_copy_bytes(block8(), read_only, 16))                                                        \
  X(rt_copy_bytes, source, released, "lies in a released block",                                   \
    rt_copy_bytes(block8(), released_record(), 8))                                                 \
  X(rt_free, block, twice, "was released already (a block of 8 bytes)", {                          \
    char *block = block8();                                                                        \
    rt_free(block);                                                                                \
    rt_free(block);                                                                                \
  })                                                                                               \
  X(rt_free, block, moved_data, "lies 32 bytes into a block of 38 bytes, not at its start", {      \
    StrView hello = view_of("hello");                                                              \
    rt_free(rt_str_dup(&hello)->data);                                                             \
  })                                                                                               \
  X(rt_free, block, malloc, "is no block of rtlib's heap", rt_free(malloc(16)))                    \
  X(rt_free, block, stack, "is no block of rtlib's heap", {                                        \
    char local[16] = {};                                                                           \
    rt_free(local);                                                                                \
  })                                                                                               \
  X(rt_free, block, overrun, "was written past its end (a block of 8 bytes)", {                    \
    char *block = block8();                                                                        \
    block[8] = 1;                                                                                  \
    rt_free(block);                                                                                \
  })                                                                                               \
  X(rt_realloc, block, released, "was released already (a block of 8 bytes)", {                    \
    char *block = block8();                                                                        \
    rt_free(block);                                                                                \
    rt_realloc(block, 16);                                                                         \
  })                                                                                               \
  X(rt_realloc, block, overrun, "was written past its end (a block of 8 bytes)", {                 \
    char *block = block8();                                                                        \
    block[9] = 1;                                                                                  \
    rt_realloc(block, 16);                                                                         \
  })                                                                                               \
  X(rt_move_at, buffer, short, "reaches 4 bytes past the end of its block of 8 bytes",             \
    rt_move_at(block8(), 4, read_only, 8))                                                         \
  X(rt_move_at, source, null, "is null (2 bytes to reach)", rt_move_at(block8(), 0, nullptr, 2))   \
  X(rt_peek_byte, address, released, "lies in a released block",                                   \
    sink = rt_peek_byte(released_record()))                                                        \
  X(rt_poke_byte, address, read_only, "is no writable memory",                                     \
    rt_poke_byte(const_cast<char *>(read_only), 1))                                                \
  X(rt_set_end, record, read_only, "is no writable memory",                                        \
    rt_set_end(nullptr, 0, reinterpret_cast<StrView *>(const_cast<char *>(read_only))))            \
  X(rt_set_end, data, read_only, "is no writable memory", {                                        \
    StrView text = read_only_view();                                                               \
    rt_set_end(text.data, 3, &text);                                                               \
  })                                                                                               \
  X(rt_terminate_at, buffer, past_end, "reaches 1 bytes past the end of its block of 8 bytes",     \
    rt_terminate_at(block8(), 1, 9))                                                               \
  X(rt_view_data, view, released, "lies in a released block",                                      \
    sink = rt_view_data(released_record()) != nullptr)                                             \
  X(rt_view_length, view, null, "is null", sink = static_cast<int64_t>(rt_view_length(nullptr)))   \
  X(rt_instr, text, null_data, "its text is null (5 bytes to reach)", {                            \
    StrView text{nullptr, 5};                                                                      \
    StrView search = view_of("a");                                                                 \
    sink = rt_instr(&text, &search);                                                               \
  })                                                                                               \
  X(rt_instr, search, released, "the view lies in a released block of 38 bytes", {                 \
    StrView text = view_of("hello");                                                               \
    sink = rt_instr(&text, released_record());                                                     \
  })                                                                                               \
  X(rt_like, pattern, unterminated, "has no NUL", sink = rt_like(unterminated(), "a"))             \
  X(rt_like, text, released, "lies in a released block", sink = rt_like("*", released_text()))     \
  X(rt_like_match, pattern, null, "is null", sink = rt_like_match(nullptr, "a"))                   \
  X(rt_like_match, text, unterminated, "has no NUL", sink = rt_like_match("*", unterminated()))    \
  X(rt_str_asc, text, null_data, "is null (1 bytes to reach)", {                                   \
    StrView text{nullptr, 0};                                                                      \
    sink = rt_str_asc(&text);                                                                      \
  })                                                                                               \
  X(rt_str_lcase, text, read_only, "its text is no writable memory", {                             \
    StrView text = read_only_view();                                                               \
    rt_str_lcase(&text);                                                                           \
  })                                                                                               \
  X(rt_str_ucase, text, released, "lies in a released block", rt_str_ucase(released_record()))     \
  X(rt_str_concat, destination, released, "lies in a released block", {                            \
    StrView a = view_of("a");                                                                      \
    rt_str_concat(reinterpret_cast<RtString *>(released_record()), &a, &a);                        \
  })                                                                                               \
  X(rt_str_concat, first, null_data, "its text is null (3 bytes to reach)", {                      \
    StrView a{nullptr, 3};                                                                         \
    StrView b = view_of("b");                                                                      \
    rt_str_concat(rt_str_blank(), &a, &b);                                                         \
  })                                                                                               \
  X(rt_str_concat, second, released, "lies in a released block", {                                 \
    StrView a = view_of("a");                                                                      \
    rt_str_concat(rt_str_blank(), &a, released_record());                                          \
  })                                                                                               \
  X(rt_str_count, text, unterminated, "its text has no NUL", {                                     \
    StrView text{unterminated(), 4};                                                               \
    StrView search = view_of("a");                                                                 \
    sink = rt_str_count(&text, &search);                                                           \
  })                                                                                               \
  X(rt_str_count, search, null_data, "its text is null", {                                         \
    StrView text = view_of("abc");                                                                 \
    StrView search{nullptr, 1};                                                                    \
    sink = rt_str_count(&text, &search);                                                           \
  })                                                                                               \
  X(rt_str_dup, text, released, "the view lies in a released block of 38 bytes",                   \
    rt_str_dup(released_record()))                                                                 \
  X(rt_str_find_any, text, null, "is null", rt_str_find_any(nullptr, nullptr))                     \
  X(rt_str_find_any, set, unterminated, "its text has no NUL", {                                   \
    StrView text = view_of("abc");                                                                 \
    StrView set{unterminated(), 4};                                                                \
    rt_str_find_any(&text, &set);                                                                  \
  })                                                                                               \
  X(rt_str_insert, source, short, "its text reaches 2 bytes past the end of its block of 4", {     \
    StrView source{unterminated(), 6};                                                             \
    StrView inserted = view_of("x");                                                               \
    rt_str_insert(&source, &inserted, 1);                                                          \
  })                                                                                               \
  X(rt_str_insert, inserted, released, "lies in a released block", {                               \
    StrView source = view_of("abc");                                                               \
    rt_str_insert(&source, released_record(), 1);                                                  \
  })                                                                                               \
  X(rt_str_remove, source, released, "lies in a released block",                                   \
    rt_str_remove(released_record(), 1, 1))                                                        \
  X(rt_str_repeat, text, null_data, "its text is null (2 bytes to reach)", {                       \
    StrView text{nullptr, 2};                                                                      \
    rt_str_repeat(&text, 3);                                                                       \
  })                                                                                               \
  X(rt_str_replace, source, released, "lies in a released block", {                                \
    StrView a = view_of("a");                                                                      \
    rt_str_replace(released_record(), &a, &a);                                                     \
  })                                                                                               \
  X(rt_str_replace, search, null_data, "its text is null", {                                       \
    StrView a = view_of("a");                                                                      \
    StrView search{nullptr, 1};                                                                    \
    rt_str_replace(&a, &search, &a);                                                               \
  })                                                                                               \
  X(rt_str_replace, replacement, null, "is null", {                                                \
    StrView a = view_of("a");                                                                      \
    rt_str_replace(&a, &a, nullptr);                                                               \
  })                                                                                               \
  X(rt_str_reverse, text, read_only, "its text is no writable memory", {                           \
    StrView text = read_only_view();                                                               \
    rt_str_reverse(&text);                                                                         \
  })                                                                                               \
  X(rt_str_trim, text, read_only, "its text is no writable memory", {                              \
    StrView text = read_only_view();                                                               \
    rt_str_trim(&text);                                                                            \
  })                                                                                               \
  X(rt_str_ltrim, text, past_end, "its text reaches 1 bytes past the end of its block of 4", {     \
    StrView text{unterminated(), 4};                                                               \
    rt_str_ltrim(&text);                                                                           \
  })                                                                                               \
  X(rt_str_rtrim, text, released, "lies in a released block", rt_str_rtrim(released_record()))     \
  X(rt_str_val, text, unterminated, "its text has no NUL", {                                       \
    StrView text{unterminated(), 4};                                                               \
    sink = rt_str_val(&text);                                                                      \
  })                                                                                               \
  X(rt_str_verify, text, released, "lies in a released block", {                                   \
    StrView set = view_of("a");                                                                    \
    sink = rt_str_verify(released_record(), &set);                                                 \
  })                                                                                               \
  X(rt_str_verify, set, null_data, "its text is null", {                                           \
    StrView text = view_of("a");                                                                   \
    StrView set{nullptr, 0};                                                                       \
    sink = rt_str_verify(&text, &set);                                                             \
  })                                                                                               \
  X(rt_exec, command_line, unterminated, "has no NUL", sink = rt_exec(unterminated(), 0))          \
  X(rt_str_dup, text, huge, "runs past the end of the address space", {                            \
    StrView text{const_cast<char *>(read_only), UINT64_MAX};                                       \
    rt_str_dup(&text);                                                                             \
  })                                                                                               \
  X(rt_peek_byte, address, unmapped, "is no readable memory (1 bytes)",                            \
    sink = rt_peek_byte(unmapped))                                                                 \
  X(rt_print_line, text, unmapped, "is no readable memory before its NUL",                         \
    rt_print_line(static_cast<const char *>(unmapped)))                                            \
  X(rt_delete_file, path, past_end, "has no NUL before the end of its block of 8 bytes",           \
    rt_delete_file(block8() + 8))                                                                  \
  X(rt_strvar_release, var, null, "is null", rt_strvar_release(nullptr))                           \
  X(rt_strvar_adopt, target, negative, "has a negative length", {                                  \
    StrVar var{8, -1, static_cast<char *>(malloc(8))};                                             \
    rt_strvar_adopt(&var.data, nullptr, 0);                                                        \
  })                                                                                               \
  X(rt_strvar_assign_text, target, null_data, "has a null data pointer and a length of 2", {       \
    StrVar var{8, 2, nullptr};                                                                     \
    rt_strvar_assign_text(&var.data, "x");                                                         \
  })                                                                                               \
  X(rt_strvar_adopt, data, negative, "comes with a negative length", {                             \
    StrVar var{};                                                                                  \
    rt_strvar_adopt(&var.data, nullptr, -1);                                                       \
  })                                                                                               \
  X(rt_strvar_adopt, data, rt_alloc, "is a block of rt_alloc (8 bytes)", {                         \
    StrVar var{};                                                                                  \
    rt_strvar_adopt(&var.data, block8(), 4);                                                       \
  })                                                                                               \
  X(rt_strvar_adopt, data, own_buffer, "is the variable's own current block or buffer", {          \
    StrVar var{};                                                                                  \
    char buffer[8];                                                                                \
    rt_strvar_init_fixed(&var, buffer, sizeof buffer);                                             \
    rt_strvar_adopt(&var.data, var.data, 0);                                                       \
  })                                                                                               \
  X(rt_str_trim, text, past_end, "its text reaches 1 bytes past the end of its block of 4", {      \
    StrView text{unterminated(), 4};                                                               \
    rt_str_trim(&text);                                                                            \
  })                                                                                               \
  X(rt_free, block, header, "is no block of rtlib's heap", rt_free(block8() - 8))                  \
  X(rt_free, block, released_data, "lies 32 bytes into a released block of 38 bytes",              \
    rt_free(released_text()))                                                                      \
  X_AS(rt_inline, rt_inline::result_value, var, long,                                              \
       "has a length of 5 beyond its room of 3 bytes", {                                           \
         char buffer[4] = {};                                                                      \
         StrVar var{-4, 5, buffer};                                                                \
         sink = static_cast<int64_t>(rt_inline::result_value(var).length);                         \
       })

CASES(BREAK, BREAK_AS)

namespace check_cases {

struct Case {
  const char *name;
  const char *reported;
  const char *says;
  void (*run)();
};
#define CASE_ROW(routine, argument, how, says, ...)                                                \
  {#routine "." #argument "." #how, #routine, says, CASE_FUNCTION(routine, argument, how)},
#define CASE_ROW_AS(routine, reported, argument, how, says, ...)                                   \
  {#routine "." #argument "." #how, #reported, says, CASE_FUNCTION(routine, argument, how)},
const Case cases[] = {CASES(CASE_ROW, CASE_ROW_AS)};

} // namespace check_cases
