// rt_str_count and rt_str_replace against the same jobs written with strlen and memmem, in CPU
// time: the count starts over one byte behind each occurrence (so that overlapping ones count),
// the replacement behind each occurrence's end, with a counting pass before the building pass
// as the routine has, and the result in a block of the runtime's allocator. After the runs, a table
// gives each case's ratio to its peer (below 1: the runtime is faster) and each routine's growth
// from n to 4n bytes of text (about 4 when linear; more than 6 is flagged).
//
// Texts: prose (words of English in a fixed pseudo-random order, a line end every 45 bytes or
// so) and uniformly random lower-case letters; and, for the growth, runs of one letter, where a
// search that starts over behind every occurrence pays for the whole search string each time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../cpu_times.h"
#include "../texts.h"
#include "rtlib.h"

namespace {

// Prose with a line end behind the first word that reaches 40 bytes since the last one.
std::string prose(size_t size) {
  return bench_texts::prose_lines(size, 12345, 40, bench_texts::words);
}

std::string random_letters(size_t size) {
  return bench_texts::random_letters(size, 99);
}

int64_t peer_count(const char *text, const char *search) {
  const size_t n = strlen(text), m = strlen(search);
  int64_t count = 0;
  for (const char *at = text; at < text + n;) {
    const void *hit = memmem(at, static_cast<size_t>(text + n - at), search, m);
    if (hit == nullptr)
      break;
    ++count;
    at = static_cast<const char *>(hit) + 1;
  }
  return count;
}

// The result's length, or the result itself into out when out is not null.
size_t peer_replace_pass(const char *text, size_t n, const std::string &search,
                         const std::string &by, char *out) {
  size_t length = 0;
  const char *at = text;
  for (;;) {
    const void *hit = memmem(at, static_cast<size_t>(text + n - at), search.data(), search.size());
    const char *found = hit == nullptr ? text + n : static_cast<const char *>(hit);
    if (out != nullptr) {
      memcpy(out + length, at, static_cast<size_t>(found - at));
      if (hit != nullptr)
        memcpy(out + length + (found - at), by.data(), by.size());
    }
    length += static_cast<size_t>(found - at);
    if (hit == nullptr)
      return length;
    length += by.size();
    at = found + search.size();
  }
}

char *peer_replace(const char *text, const std::string &search, const std::string &by) {
  const size_t n = strlen(text);
  const size_t length = peer_replace_pass(text, n, search, by, nullptr);
  // A block from the runtime's own allocator, zero-filled as the routine's is.
  char *out = static_cast<char *>(rt_alloc(length + 33)) + 32;
  peer_replace_pass(text, n, search, by, out);
  out[length] = 0;
  return out;
}

struct Case {
  std::string name; // routine/shape/size
  std::string text, search, by;
  bool replace;
  bool peer; // also measured against the peer
};

const size_t sizes[] = {size_t{1} << 14, size_t{1} << 16, size_t{1} << 20};

std::vector<Case> make_cases() {
  std::vector<Case> cases;
  for (size_t n : sizes) {
    const std::string sz = "/" + std::to_string(n);
    const std::string p = prose(n), r = random_letters(n), a(n, 'a');
    const struct {
      const char *shape;
      const std::string &text;
      std::string search, by;
    } shapes[] = {
        {"prose_line_ends", p, "\n", "\r\n"},
        {"prose_the", p, "the", "THE"},
        {"prose_word", p, "runtime", "library"},
        {"prose_absent32", p, "the runtime was there and the mem#", "-"},
        {"random_pair", r, "qz", "QZ"},
        {"random_absent8", r, "abcdefgh", "-"},
        {"random_absent64", r, random_letters(200).substr(100, 63) + "#", "-"},
        {"a_every_byte", a, "a", "bb"},
        {"a8_in_a", a, std::string(8, 'a'), "b"},
        {"a_quarter_b_in_a", a, std::string(n / 4, 'a') + "b", "b"},
        {"a_quarter_in_a", a, std::string(n / 4, 'a'), "b"},
    };
    for (const auto &s : shapes) {
      // The peer of the last shapes is as quadratic as the routine was; it runs only where it
      // takes a moment.
      const bool peer = n == sizes[0] || s.shape[0] != 'a';
      cases.push_back({std::string("count/") + s.shape + sz, s.text, s.search, s.by, false, peer});
      cases.push_back({std::string("replace/") + s.shape + sz, s.text, s.search, s.by, true, peer});
    }
  }
  return cases;
}

std::vector<Case> &cases_store() {
  static std::vector<Case> cases = make_cases();
  return cases;
}

void register_cases() {
  for (const Case &c : cases_store()) {
    const Case *p = &c;
    cpu_timed(benchmark::RegisterBenchmark((c.name + "/rt").c_str(), [p](benchmark::State &state) {
      StrView text{const_cast<char *>(p->text.data()), p->text.size()};
      StrView search{const_cast<char *>(p->search.data()), p->search.size()};
      StrView by{const_cast<char *>(p->by.data()), p->by.size()};
      // Checked against the peer where the peer runs (elsewhere it could take minutes).
      if (p->peer && !p->replace &&
          rt_str_count(&text, &search) != peer_count(p->text.c_str(), p->search.c_str())) {
        state.SkipWithError("rt_str_count gives a wrong count");
        return;
      }
      if (p->replace) {
        RtString *r = rt_str_replace(&text, &search, &by);
        char *q = peer_replace(p->text.c_str(), p->search, p->by);
        const bool same =
            r != nullptr && r->length == strlen(q) && memcmp(r->data, q, r->length) == 0;
        rt_free(r);
        rt_free(q - 32);
        if (!same) {
          state.SkipWithError("rt_str_replace gives a wrong result");
          return;
        }
      }
      for (auto _ : state) {
        if (p->replace) {
          RtString *r = rt_str_replace(&text, &search, &by);
          benchmark::DoNotOptimize(r);
          rt_free(r);
        } else {
          benchmark::DoNotOptimize(rt_str_count(&text, &search));
        }
      }
      state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
    }))->MinTime(0.05);
    if (!c.peer)
      continue;
    cpu_timed(benchmark::RegisterBenchmark((c.name + "/peer").c_str(), [p](benchmark::State
                                                                               &state) {
      for (auto _ : state) {
        if (p->replace) {
          char *r = peer_replace(p->text.c_str(), p->search, p->by);
          benchmark::DoNotOptimize(r);
          rt_free(r - 32);
        } else {
          benchmark::DoNotOptimize(peer_count(p->text.c_str(), p->search.c_str()));
        }
      }
      state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p->text.size()));
    }))->MinTime(0.05);
  }
}

void print_tables(const CpuTimes &times) {
  std::printf("\n%-40s %10s %10s %12s\n", "case (n = 16 KiB, 64 KiB, 1 MiB)", "rt / peer", "",
              "growth 16K->64K");
  for (const Case &c : cases_store()) {
    const std::string suffix = "/" + std::to_string(sizes[0]);
    if (c.name.size() < suffix.size() ||
        c.name.compare(c.name.size() - suffix.size(), suffix.size(), suffix) != 0)
      continue;
    const std::string base = c.name.substr(0, c.name.size() - suffix.size());
    std::printf("%-40s", base.c_str());
    for (size_t n : sizes) {
      const std::string name = base + "/" + std::to_string(n);
      const double r = times.ratio(name + "/rt", name + "/peer");
      if (r < 0)
        std::printf(" %6s", "-");
      else
        std::printf(" %6.2f", r);
    }
    const double growth = times.ratio(base + "/" + std::to_string(sizes[1]) + "/rt",
                                      base + "/" + std::to_string(sizes[0]) + "/rt");
    std::printf("   %6.2f%s\n", growth, growth > 6 ? "  (more than 6x)" : "");
  }
}

} // namespace

int main(int argc, char **argv) {
  register_cases();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  CpuTimes times;
  benchmark::RunSpecifiedBenchmarks(&times);
  print_tables(times);
  benchmark::Shutdown();
  return 0;
}
