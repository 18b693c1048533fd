#include "platform.h"

// WM_DESTROY ends the thread's message loop; everything else gets default processing.
extern "C" int64_t rt_window_proc_plain(struct HWND__ *window, uint32_t message, uint64_t first,
                                        int64_t second) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, first, second);
}
