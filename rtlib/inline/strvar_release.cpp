#include "heap.h"
#include "platform.h"

// Gives back the variable's block if it owns one; the words stay as they are.
extern "C" RT_LEAF void rt_strvar_release(StrVar *var) {
  RT_CHECK(strvar, "var", var);
  if (rt_inline::owns_block(*var))
    rt_inline::release_block(var->data);
}
