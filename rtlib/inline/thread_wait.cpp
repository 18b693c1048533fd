#include "platform.h"

// Waits without a time limit and closes the handle; neither outcome is looked at.
extern "C" void rt_thread_wait(void *thread) {
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}
