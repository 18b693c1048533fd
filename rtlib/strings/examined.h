// In a counting build (RTLIB_COUNT_EXAMINED defined: host tests only) the search code adds up
// in rt_examined_bytes how many bytes it examines, its set-up included, so that a test can hold
// the cost of a search to a bound without a clock; in every other build the hook is nothing.
#pragma once

#if defined(RTLIB_COUNT_EXAMINED)
extern "C" unsigned long long rt_examined_bytes;
#define RT_EXAMINED(n) (rt_examined_bytes += static_cast<unsigned long long>(n))
#else
#define RT_EXAMINED(n) static_cast<void>(0)
#endif
