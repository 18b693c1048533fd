// Power routines against peers measured in the same run: rt_ipow against repeated wrapping
// multiplication, rt_fpow against the C library's pow on integral exponents.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "../cpu_times.h"
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

BENCHMARK(Ipow)->MeasureProcessCPUTime()->Arg(10)->Arg(1000)->Arg(1000000);
BENCHMARK(RepeatedMultiplication)->MeasureProcessCPUTime()->Arg(10)->Arg(1000)->Arg(1000000);
BENCHMARK(Fpow)->MeasureProcessCPUTime()->Arg(10)->Arg(1000)->Arg(-1000);
BENCHMARK(LibraryPow)->MeasureProcessCPUTime()->Arg(10)->Arg(1000)->Arg(-1000);

CpuTimes times;

void ratio(const char *mine, const char *peer, int64_t exponent) {
  const std::string arg = "/" + std::to_string(exponent);
  const double a = times.ns[mine + arg], b = times.ns[peer + arg];
  if (a > 0 && b > 0)
    std::printf("%-6s exponent %8lld: %9.2f ns, %-22s %9.2f ns, peer / rt = %8.2f\n", mine,
                static_cast<long long>(exponent), a, peer, b, b / a);
}

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks(&times);
  benchmark::Shutdown();
  std::printf("\n");
  for (int64_t e : int_exponents)
    ratio("Ipow", "RepeatedMultiplication", e);
  for (int64_t e : float_exponents)
    ratio("Fpow", "LibraryPow", e);
  return 0;
}
