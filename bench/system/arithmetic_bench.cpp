// Power routines against peers measured in the same run: rt_ipow against repeated wrapping
// multiplication, rt_fpow against the C library's pow on integral exponents.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "rtlib.h"

namespace {

void Ipow(benchmark::State &state) {
  const int64_t exponent = state.range(0);
  int64_t base = 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(base);
    benchmark::DoNotOptimize(rt_ipow(base, exponent));
  }
}

void RepeatedMultiplication(benchmark::State &state) {
  const int64_t exponent = state.range(0);
  int64_t base = 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(base);
    uint64_t result = 1;
    for (int64_t i = 0; i < exponent; ++i)
      result *= static_cast<uint64_t>(base);
    benchmark::DoNotOptimize(result);
  }
}

void Fpow(benchmark::State &state) {
  const double exponent = static_cast<double>(state.range(0));
  double base = 1.0001;
  for (auto _ : state) {
    benchmark::DoNotOptimize(base);
    benchmark::DoNotOptimize(rt_fpow(base, exponent));
  }
}

void LibraryPow(benchmark::State &state) {
  const double exponent = static_cast<double>(state.range(0));
  double base = 1.0001;
  for (auto _ : state) {
    benchmark::DoNotOptimize(base);
    benchmark::DoNotOptimize(std::pow(base, exponent));
  }
}

const int64_t int_exponents[] = {10, 1000, 1000000};
const int64_t float_exponents[] = {10, 1000, -1000};

BENCHMARK(Ipow)->Arg(10)->Arg(1000)->Arg(1000000);
BENCHMARK(RepeatedMultiplication)->Arg(10)->Arg(1000)->Arg(1000000);
BENCHMARK(Fpow)->Arg(10)->Arg(1000)->Arg(-1000);
BENCHMARK(LibraryPow)->Arg(10)->Arg(1000)->Arg(-1000);

// Benchmark name ("Ipow/10") -> CPU time per call in ns.
std::map<std::string, double> ns_per_call;

class Collector : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs)
      if (!run.error_occurred)
        ns_per_call[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

void ratio(const char *mine, const char *peer, int64_t exponent) {
  const std::string arg = "/" + std::to_string(exponent);
  const double a = ns_per_call[mine + arg], b = ns_per_call[peer + arg];
  if (a > 0 && b > 0)
    std::printf("%-6s exponent %8lld: %9.2f ns, %-22s %9.2f ns, peer / rt = %8.2f\n", mine,
                static_cast<long long>(exponent), a, peer, b, b / a);
}

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();
  std::printf("\n");
  for (int64_t e : int_exponents)
    ratio("Ipow", "RepeatedMultiplication", e);
  for (int64_t e : float_exponents)
    ratio("Fpow", "LibraryPow", e);
  return 0;
}
