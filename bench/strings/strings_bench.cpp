// rt_instr against std::string_view::find and memmem, and rt_copy_bytes against memcpy, on
// ordinary and adversarial inputs of growing size. After the runs a table gives each routine's
// time as a ratio to its peer's (below 1: the runtime is faster).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "rtlib.h"

namespace {

// Words in a fixed pseudo-random order: text with the letter frequencies of prose.
std::string prose(size_t size) {
  static const char *const words[] = {
      "the",   "of",  "and",  "to",    "in",      "a",      "is",     "that",   "for",
      "it",    "as",  "was",  "with",  "be",      "by",     "on",     "not",    "he",
      "this",  "are", "or",   "his",   "from",    "at",     "which",  "but",    "have",
      "an",    "had", "they", "you",   "were",    "their",  "one",    "all",    "we",
      "can",   "her", "has",  "there", "been",    "if",     "more",   "when",   "will",
      "would", "who", "so",   "no",    "runtime", "string", "search", "memory", "text"};
  std::string s;
  uint32_t state = 12345;
  while (s.size() < size) {
    state = state * 1103515245u + 12345u;
    s += words[(state >> 16) % (sizeof words / sizeof words[0])];
    s += (state >> 8) % 11 == 0 ? ". " : " ";
  }
  s.resize(size);
  return s;
}

struct SearchCase {
  std::string name;
  std::string text;
  std::string needle;
};

// Ordinary: prose with the needle at its very end. Adversarial: a long run of a searched for
// a...ab (absent) or a...aba.
std::vector<SearchCase> search_cases() {
  std::vector<SearchCase> cases;
  for (size_t size : {size_t{1} << 10, size_t{1} << 14, size_t{1} << 18, size_t{1} << 22}) {
    const std::string sz = std::to_string(size);
    // Needles of prose words, the first and last letters common ones, so that the text is
    // full of near misses; each is placed at the text's end.
    const struct {
      const char *label;
      std::string needle;
    } needles[] = {{"short", "theirs"},
                   {"medium", "the runtime was there"},
                   {"long", prose(400).substr(200, 120) + "#"}};
    for (const auto &n : needles) {
      std::string text = prose(size - n.needle.size()) + n.needle;
      cases.push_back({std::string("ordinary_") + n.label + "/" + sz, text, n.needle});
    }
    cases.push_back({"aaa_ab32/" + sz, std::string(size, 'a'), std::string(31, 'a') + "b"});
    cases.push_back({"aaa_ab256/" + sz, std::string(size, 'a'), std::string(255, 'a') + "b"});
    cases.push_back({"aaa_aba256/" + sz, std::string(size, 'a'), std::string(254, 'a') + "ba"});
  }
  return cases;
}

std::vector<SearchCase> &cases_store() {
  static std::vector<SearchCase> cases = search_cases();
  return cases;
}

void register_search() {
  for (const SearchCase &c : cases_store()) {
    const SearchCase *p = &c;
    benchmark::RegisterBenchmark(
        ("instr/" + c.name + "/rt_instr").c_str(), [p](benchmark::State &state) {
          StrView text{const_cast<char *>(p->text.data()), p->text.size()};
          StrView needle{const_cast<char *>(p->needle.data()), p->needle.size()};
          for (auto _ : state)
            benchmark::DoNotOptimize(rt_instr(&text, &needle));
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
        });
    benchmark::RegisterBenchmark(
        ("instr/" + c.name + "/string_view").c_str(), [p](benchmark::State &state) {
          std::string_view text(p->text), needle(p->needle);
          for (auto _ : state) {
            benchmark::DoNotOptimize(text.data());
            benchmark::DoNotOptimize(text.find(needle));
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
        });
    benchmark::RegisterBenchmark(
        ("instr/" + c.name + "/memmem").c_str(), [p](benchmark::State &state) {
          for (auto _ : state)
            benchmark::DoNotOptimize(
                memmem(p->text.data(), p->text.size(), p->needle.data(), p->needle.size()));
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
        });
    // The plain scan: every offset in turn, compared byte by byte.
    benchmark::RegisterBenchmark(
        ("instr/" + c.name + "/byte_scan").c_str(), [p](benchmark::State &state) {
          for (auto _ : state) {
            const char *t = p->text.data();
            const char *x = p->needle.data();
            const size_t n = p->text.size(), m = p->needle.size();
            size_t found = 0;
            for (size_t at = 0; at + m <= n && found == 0; ++at) {
              size_t i = 0;
              while (i < m && t[at + i] == x[i])
                ++i;
              if (i == m)
                found = at + 1;
            }
            benchmark::DoNotOptimize(found);
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
        });
  }
}

void register_copy() {
  for (size_t size : {size_t{64}, size_t{4096}, size_t{1} << 18, size_t{1} << 22}) {
    const std::string sz = std::to_string(size);
    benchmark::RegisterBenchmark(
        ("copy/apart/" + sz + "/rt_copy_bytes").c_str(), [size](benchmark::State &state) {
          std::vector<char> from(size, 'x'), to(size);
          for (auto _ : state) {
            rt_copy_bytes(to.data(), from.data(), size);
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        });
    benchmark::RegisterBenchmark(
        ("copy/apart/" + sz + "/memcpy").c_str(), [size](benchmark::State &state) {
          std::vector<char> from(size, 'x'), to(size);
          for (auto _ : state) {
            memcpy(to.data(), from.data(), size);
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        });
    // Destination 7 bytes above the source: the forward-copy result repeats 7 bytes. The peer
    // is the plain forward byte loop that defines the result.
    benchmark::RegisterBenchmark(
        ("copy/overlap7/" + sz + "/rt_copy_bytes").c_str(), [size](benchmark::State &state) {
          std::vector<char> buffer(size + 7, 'x');
          for (auto _ : state) {
            rt_copy_bytes(buffer.data() + 7, buffer.data(), size);
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        });
    benchmark::RegisterBenchmark(
        ("copy/overlap7/" + sz + "/byte_loop").c_str(), [size](benchmark::State &state) {
          std::vector<char> buffer(size + 7, 'x');
          for (auto _ : state) {
            volatile char *b = buffer.data();
            for (size_t i = 0; i < size; ++i)
              b[i + 7] = b[i];
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        });
  }
}

// Keeps every run's time per iteration by name, besides the usual console output.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> times;
  void ReportRuns(const std::vector<Run> &runs) override {
    for (const Run &run : runs)
      times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

void print_ratios(const RatioReporter &reporter) {
  const struct {
    const char *prefix, *routine, *peer;
  } pairs[] = {{"instr/", "rt_instr", "string_view"},
               {"instr/", "rt_instr", "memmem"},
               {"instr/", "rt_instr", "byte_scan"},
               {"copy/", "rt_copy_bytes", "memcpy"},
               {"copy/", "rt_copy_bytes", "byte_loop"}};
  printf("\n%-40s %-28s %10s\n", "case", "ratio", "value");
  for (const auto &pair : pairs) {
    const std::string suffix = std::string("/") + pair.routine;
    for (const auto &[name, time] : reporter.times) {
      if (name.rfind(pair.prefix, 0) != 0 || name.size() < suffix.size() ||
          name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        continue;
      const std::string base = name.substr(0, name.size() - suffix.size());
      const auto peer = reporter.times.find(base + "/" + pair.peer);
      if (peer == reporter.times.end())
        continue;
      printf("%-40s %-28s %10.2f\n", base.c_str(),
             (std::string(pair.routine) + " / " + pair.peer).c_str(), time / peer->second);
    }
  }
}

} // namespace

int main(int argc, char **argv) {
  register_search();
  register_copy();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  print_ratios(reporter);
  benchmark::Shutdown();
  return 0;
}
