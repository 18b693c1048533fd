#include "platform.h"

extern "C" void rt_fatal_exit(void) {
  ExitProcess(RT_EXIT_FATAL);
}
