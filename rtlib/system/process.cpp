#include "platform.h"

// Process and environment services. The command line and the environment block belong to
// the platform: the runtime hands out its pointers and never copies or frees them.

extern "C" int64_t rt_sleep(int64_t milliseconds) {
  Sleep(static_cast<DWORD>(static_cast<uint64_t>(milliseconds)));
  return 0;
}

// Above 31: started; 31 or less: the platform's error number.
extern "C" int64_t rt_exec(const char *command_line, int64_t show) {
  RT_CHECK(text, "command_line", command_line);
  const UINT result = WinExec(command_line, static_cast<UINT>(static_cast<uint64_t>(show)));
  return static_cast<int64_t>(static_cast<uint64_t>(result));
}

extern "C" RT_LEAF char *rt_command_line(void) {
  return GetCommandLineA();
}

// Texts name=value, each ending in NUL, with one more NUL after the last; null when the
// platform gives no block.
extern "C" RT_LEAF char *rt_environment(void) {
  return GetEnvironmentStringsA();
}

extern "C" RT_LEAF void rt_seed_random(int64_t seed) {
  srand(static_cast<unsigned int>(static_cast<uint64_t>(seed)));
}
