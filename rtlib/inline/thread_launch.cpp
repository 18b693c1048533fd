#include "heap.h"

// The block is complete before the thread exists and belongs to the thread from then on. When
// no thread comes into being nobody else would free it, so it is freed here.
extern "C" void *rt_thread_launch(RtThreadStart start, uint64_t count, const uint64_t *words,
                                  RtDword *thread_id) {
  RT_CHECK(not_null, "start", reinterpret_cast<const void *>(start));
  RT_CHECK(readable, "words", words,
           (count < RT_THREAD_ARG_WORDS ? count : RT_THREAD_ARG_WORDS) * sizeof *words);
  RT_CHECK(writable, "thread_id", thread_id, sizeof *thread_id);
  ThreadArgBlock *const block = static_cast<ThreadArgBlock *>(
      rt_inline::opaque(rt_inline::allocate_or_exit(sizeof(ThreadArgBlock))));
  rt_inline::fill_zero(block, sizeof(ThreadArgBlock));
  const uint64_t stored = count < RT_THREAD_ARG_WORDS ? count : RT_THREAD_ARG_WORDS;
  for (uint64_t i = 0; i < stored; ++i)
    block->args[i] = words[i];
  const HANDLE thread = CreateThread(nullptr, 0, start, block, 0, thread_id);
  if (thread == nullptr)
    rt_inline::release_block(block);
  return thread;
}
