#include "platform.h"

extern "C" RT_LEAF char *rt_view_data(const StrView *view) {
  RT_CHECK(readable, "view", view, sizeof *view);
  return view->data;
}

extern "C" RT_LEAF uint64_t rt_view_length(const StrView *view) {
  RT_CHECK(readable, "view", view, sizeof *view);
  return view->length;
}
