// Test-facing side of the inline profile's stand-in calls: the heap blocks that msvcrt
// malloc/free would manage, threads that run when they are waited for, and window user data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "stand_in.h"

namespace standin::inline_profile {

// Forgets scripted failures, threads and window data, and frees every block still live.
void reset();

// Blocks handed out by malloc and not yet freed, with their sizes. The recorded free call of a
// live block carries the block's bytes as they were just before it was freed.
const std::map<const void *, size_t> &live_blocks();
// Every block malloc handed out since reset, in order, with its size.
const std::vector<std::pair<const void *, size_t>> &allocations();
// How many times free was called with this address, over the whole run since reset.
size_t times_freed(const void *block);
// The nth malloc from now (1 = the next one) returns null.
void fail_malloc(size_t nth);

// The next CreateThread fails (returns null) without creating anything.
void fail_next_create_thread();
// The exit code of a thread that has run (when it was waited for), if it has.
std::optional<DWORD> thread_exit_code(HANDLE thread);

// What GetWindowLongPtrA(window, GWLP_USERDATA) returns, and what DefWindowProcA returns.
void set_user_data(HWND window, LONG_PTR value);
void set_default_result(LRESULT result);

} // namespace standin::inline_profile
