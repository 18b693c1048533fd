#include "platform.h"

// Zero-filled blocks of the process's default heap. The heap handle is fetched on every call
// and each routine makes exactly one heap call.

extern "C" void *rt_alloc(uint64_t size) {
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

extern "C" void *rt_realloc(void *block, uint64_t size) {
  if (block == nullptr)
    return rt_alloc(size);
  return HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, block, size);
}

extern "C" int64_t rt_free(void *block) {
  if (block == nullptr)
    return 0;
  return HeapFree(GetProcessHeap(), 0, block);
}
