// rt_copy_bytes against the platform's own memcpy (msvcrt's, as the images import it), on the
// Windows side under Wine, in CPU time; separate ranges, the same two buffers for both. Google
// Benchmark is not built for Windows here, so this program times by itself: each sample runs a
// copy enough times for about a quarter of a second of CPU time (the thread's CPU clock under
// Wine ticks in 10 ms steps), the two routines take turns sample by sample, and a routine's time
// is the median of its samples. Below 1 the runtime is faster.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "../win_times.h"
#include "rtlib.h"

namespace {

using Copy = void *(*)(void *, const void *, uint64_t);

void *platform_memcpy(void *destination, const void *source, uint64_t count) {
  return memcpy(destination, source, static_cast<size_t>(count));
}

// The routines are called through a volatile pointer, so that neither call is inlined or
// folded into the loop.
Copy volatile routines[2] = {rt_copy_bytes, platform_memcpy};

void run(Copy copy, char *to, const char *from, uint64_t size, uint64_t times) {
  for (uint64_t i = 0; i < times; ++i) {
    copy(to, from, size);
    asm volatile("" ::: "memory");
  }
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t half = values.size() / 2;
  return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2;
}

} // namespace

int main(int argc, char **argv) {
  const int samples = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  const uint64_t sizes[] = {16, 32, 64, 96, 128, 256, 512, 1024, 4096, 65536, uint64_t{1} << 22};
  std::vector<char> from(uint64_t{1} << 22, 'x'), to(uint64_t{1} << 22);
  std::printf("rt_copy_bytes / memcpy, separate ranges, Windows side (CPU time, median of %d)\n",
              samples);
  std::printf("%-9s %14s %14s %8s\n", "size", "rt_copy_bytes", "memcpy", "ratio");
  for (const uint64_t size : sizes) {
    // As many copies as take about a quarter of a second of wall-clock time, from a short trial.
    uint64_t times = 1000;
    for (;;) {
      const double start = wall_seconds();
      run(routines[1], to.data(), from.data(), size, times);
      const double took = wall_seconds() - start;
      if (took > 0.02) {
        times = static_cast<uint64_t>(static_cast<double>(times) * 0.25 / took) + 1;
        break;
      }
      times *= 4;
    }
    std::vector<double> ns[2];
    for (int sample = 0; sample < samples; ++sample)
      for (int which = 0; which < 2; ++which) {
        const double start = cpu_seconds();
        run(routines[which], to.data(), from.data(), size, times);
        ns[which].push_back((cpu_seconds() - start) * 1e9 / static_cast<double>(times));
      }
    const double mine = median(ns[0]), peer = median(ns[1]);
    std::printf("%-9llu %11.2f ns %11.2f ns %8.2f\n", static_cast<unsigned long long>(size), mine,
                peer, peer > 0 ? mine / peer : 0.0);
  }
  return 0;
}
