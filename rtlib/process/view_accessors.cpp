#include "platform.h"

extern "C" char *rt_view_data(const StrView *view) {
  return view->data;
}

extern "C" uint64_t rt_view_length(const StrView *view) {
  return view->length;
}
