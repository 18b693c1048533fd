#include "platform.h"

// Zero-filled blocks of the process's default heap. The heap handle is fetched on every call
// and each routine makes exactly one heap call. The checked runtime hands the three routines
// to its guarded heap (process/check_heap.cpp) instead.

extern "C" void *rt_alloc(uint64_t size) {
#if defined(RTLIB_CHECKED)
  return rt::check::heap_alloc(RT_SITE, size);
#else
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
#endif
}

extern "C" void *rt_realloc(void *block, uint64_t size) {
#if defined(RTLIB_CHECKED)
  return rt::check::heap_realloc(RT_SITE, block, size);
#else
  if (block == nullptr)
    return rt_alloc(size);
  return HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, block, size);
#endif
}

extern "C" int64_t rt_free(void *block) {
#if defined(RTLIB_CHECKED)
  return rt::check::heap_free(RT_SITE, block);
#else
  if (block == nullptr)
    return 0;
  return HeapFree(GetProcessHeap(), 0, block);
#endif
}
