// Collects the CPU time per iteration of every run by name, besides the usual console output,
// so that a benchmark can print ratios against a peer measured in the same run. CPU time, not
// wall-clock time: other load on a shared machine then counts against neither side.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class CpuTimes : public benchmark::ConsoleReporter {
public:
  // Function name and arguments ("Ipow/10"), without the suffixes the measuring options add.
  std::map<std::string, double> ns;

  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      if (run.error_occurred)
        continue;
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty())
        name += "/" + run.run_name.args;
      ns[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Time of `name` divided by that of `peer`, or a negative value when either is missing.
  double ratio(const std::string &name, const std::string &peer) const {
    const auto a = ns.find(name), b = ns.find(peer);
    if (a == ns.end() || b == ns.end() || b->second <= 0)
      return -1;
    return a->second / b->second;
  }
};

// Every benchmark measures the CPU time of the whole process.
inline benchmark::internal::Benchmark *cpu_timed(benchmark::internal::Benchmark *b) {
  return b->MeasureProcessCPUTime();
}
