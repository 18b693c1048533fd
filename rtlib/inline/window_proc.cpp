#include "platform.h"

// The window's handler (GWLP_USERDATA) sees every message first; a nonzero result completes
// it. WM_DESTROY then ends the thread's message loop; everything else gets default processing.
extern "C" int64_t rt_window_proc(struct HWND__ *window, uint32_t message, uint64_t first,
                                  int64_t second) {
  const LONG_PTR user_data = GetWindowLongPtrA(window, GWLP_USERDATA);
  if (user_data != 0) {
    const WindowHandler handler =
        reinterpret_cast<WindowHandler>(static_cast<uintptr_t>(user_data));
    const int64_t handled = handler(window, message, first, second);
    if (handled != 0)
      return handled;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, first, second);
}
