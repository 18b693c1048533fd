// How the cost of every string routine grows with its input, on the Windows side under Wine
// (the runtime as the images carry it, on msvcrt): each case of growth_cases.h at n and at 4n,
// in thread CPU time, the median of a few samples of about a fifth of a second each (a call
// that takes longer is one sample by itself). The table gives each case's growth factor and
// flags any above 6x (a linear routine grows about 4x). An argument sets the number of samples.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "../win_times.h"
#include "growth_cases.h"

namespace {

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t half = values.size() / 2;
  return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// Nanoseconds per call.
double time_call(const growth::Call &call, int samples) {
  // As many calls as take about a fifth of a second of wall-clock time, from a short trial.
  uint64_t times = 1;
  for (;;) {
    const double start = wall_seconds();
    for (uint64_t i = 0; i < times; ++i)
      call();
    const double took = wall_seconds() - start;
    if (took > 0.02) {
      times = static_cast<uint64_t>(static_cast<double>(times) * 0.2 / took) + 1;
      break;
    }
    times *= 4;
  }
  std::vector<double> ns;
  for (int sample = 0; sample < samples; ++sample) {
    const double start = cpu_seconds();
    for (uint64_t i = 0; i < times; ++i)
      call();
    ns.push_back((cpu_seconds() - start) * 1e9 / static_cast<double>(times));
  }
  return median(ns);
}

} // namespace

int main(int argc, char **argv) {
  const int samples = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
  std::printf("Growth for 4x input, Windows side (thread CPU time, median of %d)", samples);
  growth::print_header();
  for (const growth::Case &c : growth::cases())
    for (const size_t base : growth::base_sizes) {
      const double ns = time_call(c.make(base), samples);
      const double ns4 = time_call(c.make(4 * base), samples);
      growth::print_row(c, base, ns, ns4);
      std::fflush(stdout);
    }
  return 0;
}
