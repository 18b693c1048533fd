// Marks that routine definitions carry, in every source of the runtime.
#pragma once

// Marks a routine that is a frameless leaf (no stack use, no call but a tail jump), which the
// platform unwinds from its return address alone, so that it gets no unwind data. clang leaves
// the data out of such routines by itself; GCC is told to. A Windows test checks that every
// routine without unwind data is such a leaf. In the checked runtime no routine is a leaf.
#if defined(_WIN32) && defined(__GNUC__) && !defined(__clang__) && !defined(RTLIB_CHECKED)
#define RT_LEAF __attribute__((optimize("no-asynchronous-unwind-tables", "no-unwind-tables")))
#else
#define RT_LEAF
#endif

// The checked runtime (RTLIB_CHECKED, process/check.h). At a routine's entry,
// RT_CHECK(kind, arguments...) runs rt::check::kind for the routine and its caller;
// RT_MADE(block) names the routine's caller as the place a block it returns was made. In
// the release runtime both leave nothing behind: RT_CHECK is no code, RT_MADE(block) is block.
#if defined(RTLIB_CHECKED)
#include "process/check.h"
#define RT_SITE (::rt::check::Site{__func__, __builtin_return_address(0)})
#define RT_CHECK(kind, ...) ::rt::check::kind(RT_SITE, __VA_ARGS__)
#define RT_MADE(block) static_cast<decltype(block)>(::rt::check::made_at(RT_SITE, (block)))
#else
#define RT_CHECK(kind, ...) static_cast<void>(0)
#define RT_MADE(block) (block)
#endif
