// Clocks of the Windows-side benchmark programs.
#pragma once

#include <windows.h>

#include <cstdint>

// CPU time of the calling thread, in seconds: other load on a shared machine counts against
// neither side of a ratio.
inline double cpu_seconds() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto value = [](FILETIME t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
  };
  return (value(kernel) + value(user)) * 1e-7;
}

// Wall-clock time in seconds, for sizing the samples.
inline double wall_seconds() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}
