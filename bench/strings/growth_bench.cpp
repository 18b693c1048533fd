// How the cost of every string routine grows with its input: each case of growth_cases.h at n
// and at 4n, in CPU time; after the runs a table gives each case's growth factor and flags any
// above 6x (a linear routine grows about 4x).
#include <benchmark/benchmark.h>

#include "../cpu_times.h"
#include "growth_cases.h"

namespace {

std::string run_name(size_t index, size_t n) {
  return "growth/" + std::to_string(index) + "/" + std::to_string(n);
}

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  const std::vector<growth::Case> cases = growth::cases();
  for (size_t i = 0; i < cases.size(); ++i)
    for (const size_t base : growth::base_sizes)
      for (const size_t n : {base, 4 * base}) {
        auto call = std::make_shared<growth::Call>(cases[i].make(n));
        cpu_timed(benchmark::RegisterBenchmark(run_name(i, n).c_str(),
                                               [call](benchmark::State &state) {
                                                 for (auto _ : state)
                                                   (*call)();
                                               }))
            ->MinTime(0.05)
            ->Unit(benchmark::kMicrosecond);
      }
  CpuTimes times;
  benchmark::RunSpecifiedBenchmarks(&times);
  benchmark::Shutdown();

  std::printf("\nGrowth for 4x input, host (CPU time, median)");
  growth::print_header();
  for (size_t i = 0; i < cases.size(); ++i)
    for (const size_t base : growth::base_sizes) {
      const auto a = times.ns.find(run_name(i, base)), b = times.ns.find(run_name(i, 4 * base));
      if (a != times.ns.end() && b != times.ns.end())
        growth::print_row(cases[i], base, a->second * 1e3, b->second * 1e3); // us to ns
    }
  return 0;
}
