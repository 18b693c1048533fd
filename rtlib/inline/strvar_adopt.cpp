#include "heap.h"

// Moves a value into the variable behind the reference without copying it. The old block goes
// only when the variable owned one; afterwards capacity equals the value's length, so a
// fixed-size variable becomes a heap variable and an adopted empty value is never released.
extern "C" void rt_strvar_adopt(StrRef target, char *data, int64_t length) {
  RT_CHECK(strvar, "target", rt_inline::var_of(target));
  RT_CHECK(adoptable, "data", rt_inline::var_of(target), data, length);
  StrVar *const var = rt_inline::var_of(target);
  if (rt_inline::owns_block(*var))
    rt_inline::release_block(var->data);
  var->data = data;
  var->length = length;
  var->capacity = length;
}
