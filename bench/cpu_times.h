// Collects the CPU time per iteration of every run by name, besides the usual console output,
// so that a benchmark can print ratios against a peer measured in the same run. CPU time, not
// wall-clock time: other load on a shared machine then counts against neither side. With
// --benchmark_repetitions a name's time is the median of its repetitions, and with
// --benchmark_enable_random_interleaving those repetitions are spread over the whole run, so
// that a slow stretch of the machine falls on both sides of a ratio alike.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

class CpuTimes : public benchmark::ConsoleReporter {
public:
  // Function name and arguments ("Ipow/10"), without the suffixes the measuring options add.
  std::map<std::string, double> ns;

  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration)
        continue;
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty())
        name += "/" + run.run_name.args;
      std::vector<double> &times = samples_[name];
      times.push_back(run.GetAdjustedCPUTime());
      ns[name] = median(times);
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

private:
  std::map<std::string, std::vector<double>> samples_;

  // The middle value, or the mean of the two middle values.
  static double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 == 1 ? values[half] : (values[half - 1] + values[half]) / 2;
  }
};

// Every benchmark measures the CPU time of the whole process.
inline benchmark::internal::Benchmark *cpu_timed(benchmark::internal::Benchmark *b) {
  return b->MeasureProcessCPUTime();
}
