#include "heap.h"

// Copies NUL-terminated text into the variable behind the reference. A fixed-size variable
// keeps its buffer and cuts the text to fit; a heap variable reuses its block while the text
// and its terminator fit, and otherwise moves to a block of exactly that size.
extern "C" void rt_strvar_assign_text(StrRef target, const char *text) {
  RT_CHECK(strvar, "target", rt_inline::var_of(target));
  RT_CHECK(text, "text", text);
  RT_CHECK(outside_var, "text", rt_inline::var_of(target), text);
  StrVar *const var = rt_inline::var_of(target);
  if (var->capacity < 0) {
    const uint64_t room = 0u - static_cast<uint64_t>(var->capacity);
    lstrcpynA(var->data, text, static_cast<int>(static_cast<uint32_t>(room)));
    var->length = lstrlenA(var->data);
    return;
  }
  const int64_t length = lstrlenA(text);
  const int64_t need = length + 1;
  if (var->capacity >= need) {
    lstrcpynA(var->data, text, static_cast<int>(need));
    var->length = length;
    return;
  }
  char *const block = static_cast<char *>(rt_inline::allocate_or_exit(static_cast<uint64_t>(need)));
  lstrcpynA(block, text, static_cast<int>(need));
  if (rt_inline::owns_block(*var))
    rt_inline::release_block(var->data);
  var->data = block;
  var->length = length;
  var->capacity = need;
}
