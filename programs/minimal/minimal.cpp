// minimal: takes the standard output handle into its one integer variable and ends the process
// with exit code 0. Reduced frame form: no whole-frame clearing, no fault handler, nothing
// released or closed at the end; the image imports nothing from the C runtime.
#include <rtlib_inline.hpp>

using namespace rt_inline;

namespace {
struct MainVariables {
  int64_t out; // the standard output handle
};
using MainFrame = ProcFrame<int64_t, MainVariables>;

// Read-only text of the image that no code uses; a window class for rt_window_proc_plain
// may take it as its name.
[[gnu::used]] constexpr char gui_class_name[] = "QELDAR_GUI";
} // namespace

extern "C" [[noreturn]] void minimal_main(void) {
  MainFrame f;         // entry 1-2: frame link saved, frame probed page by page
  zero_fixed_slots(f); // entry 6, reduced: ResultSlot, HandleSlots, reserved words
  // body
  *static_cast<volatile int64_t *>(&f.var.out) =
      static_cast<int64_t>(reinterpret_cast<uintptr_t>(GetStdHandle(STD_OUTPUT_HANDLE)));
  store_zero(f.result);
  exit_process(f.result); // exit, reduced: no strings released, no slot closed
}
