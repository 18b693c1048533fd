// rt_instr against memmem, std::string_view::find and a plain byte scan, and rt_copy_bytes
// against memcpy and a forward byte loop, all in CPU time. After the runs, tables give each
// routine's time as a ratio to its peer's (below 1: the runtime is faster).
//
// Search cases:
//   - a grid on two texts, ordinary text (prose) and uniformly random lower-case letters (as in
//     identifiers, codes or other languages): text sizes 1 KiB to 4 MiB, search strings of 2 to
//     256 bytes, found early (at 1/16 of the text), late (at its end), not at all, or not at all
//     with a last byte that the text never holds (where a search that skips on the last bytes
//     moves a whole search length at a time);
//   - the earlier named cases: prose with a word sequence at its end, and long runs of a
//     searched for a...ab (absent) or a...aba, where a naive search does quadratic work.
// In the prose grid the search strings are pieces of prose from another part of the word stream;
// from 3 bytes on, the middle byte is '#', which the text never holds, so that the only
// occurrence is the one placed (a 2-byte search string is a pair of common letters that the
// text never holds side by side). Their first and last bytes are common letters, as in ordinary
// searches. In the random grid they are random letters from another stream, with the same '#'
// in the middle (a 2-byte search string found early or late may occur before its place).
// In the last column of places, the search string's last byte is '#' instead.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "../cpu_times.h"
#include "../texts.h"
#include "rtlib.h"

namespace {

// Words in a fixed pseudo-random order: text with the letter frequencies of prose.
std::string prose(size_t size, uint32_t state = 12345) {
  std::string s;
  while (s.size() < size) {
    s += bench_texts::next_word(state);
    s += (state >> 8) % 11 == 0 ? ". " : " ";
  }
  s.resize(size);
  return s;
}

struct SearchCase {
  std::string name;
  std::string text;
  std::string needle;
  int64_t expected; // 1-based position of the first occurrence, 0 for none
};

int64_t first_position(const std::string &text, const std::string &needle) {
  const void *hit = memmem(text.data(), text.size(), needle.data(), needle.size());
  return hit == nullptr ? 0 : static_cast<const char *>(hit) - text.data() + 1;
}

const size_t grid_sizes[] = {size_t{1} << 10, size_t{1} << 12, size_t{1} << 14, size_t{1} << 16,
                             size_t{1} << 18, size_t{1} << 20, size_t{1} << 22};
const size_t grid_lengths[] = {2, 3, 4, 8, 16, 32, 64, 128, 256};
const char *const grid_places[] = {"early", "late", "absent", "absent_last"};
const char *const grid_texts[] = {"prose", "random"};

using bench_texts::random_letters;

// A search string of `length` bytes that the text (prose or random letters) does not hold.
std::string grid_needle(bool random, size_t length, const std::string &sample) {
  if (length == 2 && !random) {
    const std::string common = "etaoinshr";
    for (const char a : common)
      for (const char b : common) {
        const std::string pair{a, b};
        if (sample.find(pair) == std::string::npos)
          return pair;
      }
  }
  std::string needle =
      random ? random_letters(length, 4242) : prose(4096, 777).substr(1000, length);
  if (length > 2 || random)
    needle[length / 2] = '#';
  return needle;
}

std::string grid_name(const char *kind, size_t size, size_t length, const char *place) {
  return "instr/grid/" + std::string(kind) + "/" + place + "/" + std::to_string(size) + "/m" +
         std::to_string(length);
}

std::vector<SearchCase> search_cases() {
  std::vector<SearchCase> cases;
  for (const char *kind : grid_texts) {
    const bool random = kind == grid_texts[1];
    const std::string sample =
        random ? random_letters(size_t{1} << 22, 99) : prose(size_t{1} << 22);
    for (size_t size : grid_sizes)
      for (size_t length : grid_lengths) {
        const std::string needle = grid_needle(random, length, sample);
        std::string last = needle;
        last[length - 1] = '#';
        for (const char *place : grid_places) {
          std::string text = sample.substr(0, size);
          if (place == grid_places[0])
            text.replace(size / 16, length, needle);
          else if (place == grid_places[1])
            text.replace(size - length, length, needle);
          cases.push_back({grid_name(kind, size, length, place), text,
                           place == grid_places[3] ? last : needle, 0});
        }
      }
  }
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
      cases.push_back({std::string("instr/ordinary_") + n.label + "/" + sz, text, n.needle, 0});
    }
    cases.push_back(
        {"instr/aaa_ab32/" + sz, std::string(size, 'a'), std::string(31, 'a') + "b", 0});
    cases.push_back(
        {"instr/aaa_ab256/" + sz, std::string(size, 'a'), std::string(255, 'a') + "b", 0});
    cases.push_back(
        {"instr/aaa_aba256/" + sz, std::string(size, 'a'), std::string(254, 'a') + "ba", 0});
  }
  for (SearchCase &c : cases)
    c.expected = first_position(c.text, c.needle);
  return cases;
}

std::vector<SearchCase> &cases_store() {
  static std::vector<SearchCase> cases = search_cases();
  return cases;
}

bool is_grid(const SearchCase &c) {
  return c.name.rfind("instr/grid/", 0) == 0;
}

void register_search() {
  for (const SearchCase &c : cases_store()) {
    const SearchCase *p = &c;
    // The grid's peer is memmem alone; it runs briefly per case, as it has many cases.
    const double min_time = is_grid(c) ? 0.02 : 0.1;
    cpu_timed(benchmark::RegisterBenchmark((c.name + "/rt_instr").c_str(), [p](benchmark::State
                                                                                   &state) {
      StrView text{const_cast<char *>(p->text.data()), p->text.size()};
      StrView needle{const_cast<char *>(p->needle.data()), p->needle.size()};
      if (rt_instr(&text, &needle) != p->expected) {
        state.SkipWithError("rt_instr gives a wrong position");
        return;
      }
      for (auto _ : state)
        benchmark::DoNotOptimize(rt_instr(&text, &needle));
      state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
    }))->MinTime(min_time);
    cpu_timed(benchmark::RegisterBenchmark((c.name + "/memmem").c_str(), [p](benchmark::State
                                                                                 &state) {
      for (auto _ : state)
        benchmark::DoNotOptimize(
            memmem(p->text.data(), p->text.size(), p->needle.data(), p->needle.size()));
      state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
    }))->MinTime(min_time);
    if (is_grid(c))
      continue;
    cpu_timed(benchmark::RegisterBenchmark((c.name + "/string_view").c_str(), [p](benchmark::State
                                                                                      &state) {
      std::string_view text(p->text), needle(p->needle);
      for (auto _ : state) {
        benchmark::DoNotOptimize(text.data());
        benchmark::DoNotOptimize(text.find(needle));
      }
      state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
    }))->MinTime(min_time);
    // The plain scan: every offset in turn, compared byte by byte.
    cpu_timed(benchmark::RegisterBenchmark((c.name + "/byte_scan").c_str(), [p](benchmark::State
                                                                                    &state) {
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
    }))->MinTime(min_time);
  }
}

const size_t copy_sizes[] = {
    64, 96, 128, 256, 512, 1024, 4096, 8192, 65536, 262144, size_t{1} << 22};
const size_t overlap_sizes[] = {64, 4096, 262144, size_t{1} << 22};

// One source and one destination for every copy between separate ranges, so that a routine
// and its peer copy between the same addresses: the distance between the two changes the cost
// of a short copy (with buffers of their own, two runs of the same code differed up to 4x).
struct CopyBuffers {
  std::vector<char> from, to;
};

CopyBuffers &copy_buffers() {
  static CopyBuffers buffers{std::vector<char>(size_t{1} << 22, 'x'),
                             std::vector<char>(size_t{1} << 22)};
  return buffers;
}

void register_copy() {
  for (size_t size : copy_sizes) {
    const std::string sz = std::to_string(size);
    cpu_timed(benchmark::RegisterBenchmark(
        ("copy/apart/" + sz + "/rt_copy_bytes").c_str(), [size](benchmark::State &state) {
          CopyBuffers &b = copy_buffers();
          for (auto _ : state) {
            rt_copy_bytes(b.to.data(), b.from.data(), size);
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        }));
    cpu_timed(benchmark::RegisterBenchmark(
        ("copy/apart/" + sz + "/memcpy").c_str(), [size](benchmark::State &state) {
          CopyBuffers &b = copy_buffers();
          for (auto _ : state) {
            memcpy(b.to.data(), b.from.data(), size);
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        }));
  }
  // Destination 7 bytes above the source: the forward-copy result repeats 7 bytes. The peer
  // is the plain forward byte loop that defines the result.
  for (size_t size : overlap_sizes) {
    const std::string sz = std::to_string(size);
    cpu_timed(benchmark::RegisterBenchmark(
        ("copy/overlap7/" + sz + "/rt_copy_bytes").c_str(), [size](benchmark::State &state) {
          std::vector<char> buffer(size + 7, 'x');
          for (auto _ : state) {
            rt_copy_bytes(buffer.data() + 7, buffer.data(), size);
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        }));
    cpu_timed(benchmark::RegisterBenchmark(
        ("copy/overlap7/" + sz + "/byte_loop").c_str(), [size](benchmark::State &state) {
          std::vector<char> buffer(size + 7, 'x');
          for (auto _ : state) {
            volatile char *b = buffer.data();
            for (size_t i = 0; i < size; ++i)
              b[i + 7] = b[i];
            benchmark::ClobberMemory();
          }
          state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
        }));
  }
}

void print_cell(double r) {
  if (r < 0)
    std::printf(" %7s", "-");
  else
    std::printf(" %7.2f", r);
}

// rt_instr / memmem over the grid: one table per place, a row per text size, a column per
// search-string length.
void print_grid(const CpuTimes &times) {
  for (const char *kind : grid_texts)
    for (const char *place : grid_places) {
      const std::string p = place;
      const std::string label = p == "absent"        ? "not found"
                                : p == "absent_last" ? "not found, last byte not in the text"
                                                     : "found " + p;
      std::printf("\nrt_instr / memmem, %s text, %s (CPU time)\n%-9s",
                  kind == grid_texts[0] ? "ordinary" : "random-letter", label.c_str(), "size");
      for (size_t length : grid_lengths)
        std::printf(" %7s", ("m=" + std::to_string(length)).c_str());
      std::printf("\n");
      double worst = 0;
      for (size_t size : grid_sizes) {
        std::printf("%-9zu", size);
        for (size_t length : grid_lengths) {
          const std::string base = grid_name(kind, size, length, place);
          const double r = times.ratio(base + "/rt_instr", base + "/memmem");
          worst = r > worst ? r : worst;
          print_cell(r);
        }
        std::printf("\n");
      }
      std::printf("worst %.2f\n", worst);
    }
}

void print_pairs(const CpuTimes &times) {
  const struct {
    const char *prefix, *routine, *peer;
  } pairs[] = {{"instr/", "rt_instr", "memmem"},
               {"instr/", "rt_instr", "string_view"},
               {"instr/", "rt_instr", "byte_scan"},
               {"copy/", "rt_copy_bytes", "memcpy"},
               {"copy/", "rt_copy_bytes", "byte_loop"}};
  std::printf("\n%-40s %-28s %10s\n", "case", "ratio (CPU time)", "value");
  for (const auto &pair : pairs) {
    const std::string suffix = std::string("/") + pair.routine;
    for (const auto &[name, time] : times.ns) {
      if (name.rfind(pair.prefix, 0) != 0 || name.rfind("instr/grid/", 0) == 0 ||
          name.size() < suffix.size() ||
          name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        continue;
      const std::string base = name.substr(0, name.size() - suffix.size());
      const double r = times.ratio(name, base + "/" + pair.peer);
      if (r < 0)
        continue;
      std::printf("%-40s %-28s %10.2f\n", base.c_str(),
                  (std::string(pair.routine) + " / " + pair.peer).c_str(), r);
    }
  }
}

} // namespace

int main(int argc, char **argv) {
  register_search();
  register_copy();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  CpuTimes times;
  benchmark::RunSpecifiedBenchmarks(&times);
  print_pairs(times);
  print_grid(times);
  benchmark::Shutdown();
  return 0;
}
