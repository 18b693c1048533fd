/* A C translation unit of a code generator's output: the whole public C interface in use. */
#include <rtlib.h>

#if defined(_WIN32)
#include <windows.h>

/* The runtime's callbacks have exactly the platform's callback types. */
WNDPROC consumer_window_proc = rt_window_proc;
WNDPROC consumer_window_proc_plain = rt_window_proc_plain;
PVECTORED_EXCEPTION_HANDLER consumer_fault_handler = rt_fault_handler;
PVECTORED_EXCEPTION_HANDLER consumer_stack_fault_handler = rt_stack_fault_handler;
RtThreadStart consumer_thread_start(LPTHREAD_START_ROUTINE start);
RtThreadStart consumer_thread_start(LPTHREAD_START_ROUTINE start) {
  return start;
}
#endif

/* The record layout a generator emitting C relies on, from the plain constants. */
RT_LAYOUT_CHECK(sizeof(HandleRecord[RT_HANDLE_SLOT_COUNT]) == RT_HANDLE_SLOTS_BYTES,
                "fifteen handle records");
RT_LAYOUT_CHECK(RT_FRAME_VARIABLES_OFFSET(RT_INT_RESULT_BYTES) == 1256 &&
                    RT_FRAME_VARIABLES_OFFSET(RT_STR_RESULT_BYTES) == 1272,
                "frame head");

GlobalStrVar consumer_text = {{0, 0, consumer_text.empty}, {0}};

int64_t consumer_calls(void);
int64_t consumer_calls(void) {
  StrView view;
  RtString *record = rt_str_from_int(42);
  int64_t sum = rt_zero() + rt_zero(1, 2, 3);
  rt_nop();
  rt_nop(record, 7);
  if (record == 0)
    return -1;
  view.data = record->data;
  view.length = record->length;
  sum += rt_instr(&view, &view) + (int64_t)rt_view_length(&view);
  rt_free(record);
  return sum + consumer_text.var.length;
}
