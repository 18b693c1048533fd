// Threads, handle slots and window procedures on the real platform.
#include <gtest/gtest.h>
#include <windows.h>

#include <rtlib_inline.hpp>

using namespace rt_inline;

namespace {

int64_t seen_args[6];
DWORD seen_thread = 0;
int64_t six_result = 0;
int64_t six(int64_t a, int64_t b, int64_t c, int64_t d, int64_t e, const char *text) {
  seen_args[0] = a;
  seen_args[1] = b;
  seen_args[2] = c;
  seen_args[3] = d;
  seen_args[4] = e;
  seen_args[5] = static_cast<int64_t>(reinterpret_cast<uintptr_t>(text));
  seen_thread = GetCurrentThreadId();
  return six_result;
}

bool is_open(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != 0;
}

TEST(ThreadLaunch, SixWordsInOrderExitCodeLow32BitsHandleClosedAfterTheWait) {
  const struct {
    int64_t result;
    DWORD exit_code;
  } cases[] = {{15, 15}, {0x10000002A, 42}, {-2, 0xFFFFFFFEu}};
  static const char text[] = "hello";
  for (const auto &c : cases) {
    six_result = c.result;
    seen_thread = 0;
    const uint64_t words[6] = {11, 22, 33, 44, 55, reinterpret_cast<uintptr_t>(text)};
    DWORD id = 0;
    void *const thread = rt_thread_launch(rt_thread_entry<six>, 6, words, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    HANDLE watch = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &watch, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    EXPECT_TRUE(is_open(thread));
    rt_thread_wait(thread);
    EXPECT_FALSE(is_open(thread));                           // closed by the wait
    EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0); // and only after the thread ended
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(watch, &code));
    EXPECT_EQ(code, c.exit_code);
    CloseHandle(watch);
    EXPECT_EQ(seen_thread, id); // ran on the new thread
    EXPECT_EQ(std::vector<int64_t>(seen_args, seen_args + 6),
              (std::vector<int64_t>{11, 22, 33, 44, 55, static_cast<int64_t>(words[5])}));
  }
}

// The test executable's own import slots for msvcrt's malloc and free, through which the
// runtime's calls go: pointed at recording wrappers for the length of one launch and wait.
} // namespace
extern "C" void *(__cdecl *__imp_malloc)(size_t);
extern "C" void(__cdecl *__imp_free)(void *);
namespace {

void *(__cdecl *real_malloc)(size_t) = nullptr;
void(__cdecl *real_free)(void *) = nullptr;
void *launch_block = nullptr;
int launch_block_frees = 0;
DWORD launch_block_freed_by = 0;
unsigned char launch_block_bytes[256];

void *__cdecl recording_malloc(size_t size) {
  void *const block = real_malloc(size);
  if (size == 256 && launch_block == nullptr)
    launch_block = block;
  return block;
}
void __cdecl recording_free(void *block) {
  if (block != nullptr && block == launch_block) {
    if (++launch_block_frees == 1) {
      memcpy(launch_block_bytes, block, sizeof launch_block_bytes);
      launch_block_freed_by = GetCurrentThreadId();
    }
  }
  real_free(block);
}

template <typename F> void set_import(F *slot, F value) {
  DWORD old = 0;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, old, &old);
}

TEST(ThreadLaunch, TheThreadFreesItsFilledBlockExactlyOnce) {
  static const char text[] = "hello";
  six_result = 0x700000015;
  launch_block = nullptr;
  launch_block_frees = 0;
  launch_block_freed_by = 0;
  real_malloc = __imp_malloc;
  real_free = __imp_free;
  set_import(&__imp_malloc, &recording_malloc);
  set_import(&__imp_free, &recording_free);
  const uint64_t words[6] = {1, 2, 3, 4, 5, reinterpret_cast<uintptr_t>(text)};
  DWORD id = 0;
  void *const thread = rt_thread_launch(rt_thread_entry<six>, 6, words, &id);
  rt_thread_wait(thread);
  set_import(&__imp_malloc, real_malloc);
  set_import(&__imp_free, real_free);

  ASSERT_NE(thread, nullptr);
  ASSERT_NE(launch_block, nullptr) << "no 256-byte block came from malloc";
  EXPECT_EQ(launch_block_frees, 1);
  EXPECT_EQ(launch_block_freed_by, id); // by the new thread, not by the launcher
  // What the block held when it was freed: the low 32 bits of the result at offset 8, the six
  // words from offset 16, zero everywhere else.
  uint64_t expected[32] = {};
  expected[1] = 0x00000015;
  for (int i = 0; i < 6; ++i)
    expected[2 + i] = words[i];
  uint64_t got[32];
  memcpy(got, launch_block_bytes, sizeof got);
  for (int i = 0; i < 32; ++i)
    EXPECT_EQ(got[i], expected[i]) << "word at offset " << 8 * i;
}

struct NoVariables {
  int64_t unused;
};

// Records 3 and 7 hold real event handles: the exit closes exactly those; a handle that is in
// no slot stays open.
TEST(HandleSlots, HandlesInRecords3And7AreClosedAtExit) {
  HANDLE third = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE seventh = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE elsewhere = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(third && seventh && elsewhere);
  {
    ProcFrame<int64_t, NoVariables> f;
    clear_frame(f);
    zero_fixed_slots(f);
    f.handle[2].word[0] = reinterpret_cast<uintptr_t>(third);
    f.handle[6].word[0] = reinterpret_cast<uintptr_t>(seventh);
    f.handle[8].word[1] = reinterpret_cast<uintptr_t>(elsewhere); // not word 1: never closed
    close_handle_slots(f);
  }
  EXPECT_FALSE(is_open(third));
  EXPECT_FALSE(is_open(seventh));
  EXPECT_TRUE(is_open(elsewhere));
  CloseHandle(elsewhere);
}

// Message-only windows of a class served by one of the two window procedures.
LRESULT handler_result = 0;
UINT handler_message = 0;
int64_t handler(HWND__ *, uint32_t message, uint64_t, int64_t) {
  handler_message = message;
  return message == WM_GETTEXTLENGTH || message == WM_DESTROY ? handler_result : 0;
}

bool take_quit(WPARAM *code) {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
    return false;
  *code = msg.wParam;
  return true;
}

HWND make_window(const char *class_name, WNDPROC procedure) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = class_name;
  RegisterClassA(&window_class);
  return CreateWindowExA(0, class_name, "abc", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

TEST(WindowProcedures, MessageOnlyWindowsWithAndWithoutHandler) {
  const struct {
    bool plain;
    bool attach;
    LRESULT handler_returns;
    LRESULT text_length; // what WM_GETTEXTLENGTH gives
    bool quits;          // whether destroying the window posts WM_QUIT
  } cases[] = {
      {false, false, 0, 3, true}, {false, true, 5, 5, false}, {false, true, 0, 3, true},
      {true, false, 0, 3, true},  {true, true, 5, 3, true},
  };
  WPARAM code = 99;
  while (take_quit(&code)) {
  }
  for (const auto &c : cases) {
    HWND window = make_window(c.plain ? "QELDAR_GUI" : "QELDAR_GFX",
                              c.plain ? rt_window_proc_plain : rt_window_proc);
    ASSERT_NE(window, nullptr);
    handler_result = c.handler_returns;
    handler_message = 0;
    if (c.attach)
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handler));
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), c.text_length)
        << c.plain << c.attach << c.handler_returns;
    EXPECT_EQ(handler_message != 0, c.attach && !c.plain);
    EXPECT_TRUE(DestroyWindow(window));
    code = 99;
    EXPECT_EQ(take_quit(&code), c.quits) << c.plain << c.attach << c.handler_returns;
    if (c.quits) {
      EXPECT_EQ(code, 0u);
    }
  }
}

} // namespace
