// Time per match of rt_like against three peers measured in the same run: the plain recursive
// search (tests/strings/like_reference.h), glibc fnmatch and std::regex, each given the pattern
// translated into its own syntax. Two groups of cases:
//   - ordinary patterns: file names against *.txt, A[b-d]?E and the like;
//   - adversarial families, growing both the pattern and the text:
//       runs k  "*a*a...*a*b" (k runs of "*a") against n a's,
//       tail k  "*aa...ab" (k a's) against n a's, the worst case for one resume point;
//       mid k   "*aa...ab*" (k a's) against n a's, where every text place is tried in full;
//   - words in long lines of lower-case prose, as when log lines are searched: "*word*" and
//     "*word*word*" with words of k = 4, 8 or 16 letters, absent or near the end of lines of
//     n = 1 to 64 KiB.
// A peer is left out of a case (shown as "-") when one call of it does not finish within a
// quarter of a second (tried in a child process) or when its result differs from rt_like's
// (shown as "differs"). At the end a table gives each peer's time as a multiple of rt_like's.
#include <benchmark/benchmark.h>
#include <fnmatch.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "../../tests/strings/like_reference.h"
#include "../cpu_times.h"
#include "rtlib.h"

namespace {

// ---- Pattern translation ---------------------------------------------------------------

// fnmatch: the same wildcards and classes; '#' becomes a digit class; case folding by flag.
// (FNM_CASEFOLD also folds inside classes; the cases below do not depend on that.)
std::string to_fnmatch(const std::string &pattern) {
  std::string out;
  for (char c : pattern) {
    if (c == '#')
      out += "[0-9]";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out;
}

// ECMAScript regex, matched whole and case-insensitively.
std::string to_regex(const std::string &pattern) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '*') {
      while (i + 1 < pattern.size() && pattern[i + 1] == '*')
        ++i;
      out += "[\\s\\S]*";
    } else if (c == '?') {
      out += "[\\s\\S]";
    } else if (c == '#') {
      out += "[0-9]";
    } else if (c == '[') {
      size_t j = i + 1;
      out += '[';
      if (j < pattern.size() && pattern[j] == '!') {
        out += '^';
        ++j;
      }
      for (; j < pattern.size() && pattern[j] != ']'; ++j) {
        if (pattern[j] == '\\' || pattern[j] == '^' || pattern[j] == '[')
          out += '\\';
        out += pattern[j];
      }
      out += ']';
      i = j;
    } else {
      if (std::string(".^$|()[]{}*+?\\/").find(c) != std::string::npos)
        out += '\\';
      out += c;
    }
  }
  return out;
}

// ---- Cases ------------------------------------------------------------------------------

struct Case {
  std::string name, pattern, text;
  bool adversarial;
  size_t k, n;
};

// Lower-case words in a fixed pseudo-random order, n bytes.
std::string lower_prose(size_t n) {
  static const char *const words[] = {"the",  "of",    "and",   "to",     "in",    "a",    "is",
                                      "that", "for",   "it",    "as",     "was",   "with", "be",
                                      "by",   "on",    "not",   "this",   "are",   "or",   "from",
                                      "line", "error", "value", "memory", "found", "time", "when"};
  std::string s;
  uint32_t state = 4242;
  while (s.size() < n) {
    state = state * 1103515245u + 12345u;
    s += words[(state >> 16) % (sizeof words / sizeof words[0])];
    s += ' ';
  }
  s.resize(n);
  return s;
}

// Words in the style of the text that it never holds.
std::string absent_word(size_t k, size_t which) {
  const char *const letters[] = {"quickbrownfoxjumpsover", "zealousvikingmarchesby"};
  return std::string(letters[which], k);
}

void add_word_cases(std::vector<Case> &cases) {
  for (size_t k : {4, 8, 16})
    for (size_t n : {1024, 4096, 16384, 65536}) {
      const std::string w1 = absent_word(k, 0), w2 = absent_word(k, 1);
      const std::string text = lower_prose(n),
                        tag = " " + std::to_string(k) + " n " + std::to_string(n);
      // Near the end: the words replace the text's last bytes but a few.
      std::string one_end = text, two_end = text;
      one_end.replace(n - k - 6, k, w1);
      two_end.replace(n - 2 * k - 12, k, w1);
      two_end.replace(n - k - 6, k, w2);
      std::string first_only = text;
      first_only.replace(n / 2, k, w1);
      cases.push_back({"word absent" + tag, "*" + w1 + "*", text, false, k, n});
      cases.push_back({"word end" + tag, "*" + w1 + "*", one_end, false, k, n});
      cases.push_back({"2 words absent" + tag, "*" + w1 + "*" + w2 + "*", first_only, false, k, n});
      cases.push_back({"2 words end" + tag, "*" + w1 + "*" + w2 + "*", two_end, false, k, n});
    }
}

std::vector<Case> make_cases() {
  std::vector<Case> cases = {
      {"*.txt hit", "*.txt", "quarterly-report-2024.TXT", false, 0, 0},
      {"*.txt miss", "*.txt", "quarterly-report-2024.tar.gz", false, 0, 0},
      {"*.txt short", "*.txt", "a.txt", false, 0, 0},
      {"A[b-d]?E", "A[b-d]?E", "acxe", false, 0, 0},
      {"A[b-d]?E miss", "A[b-d]?E", "afxe", false, 0, 0},
      {"data_##.csv", "data_##.csv", "data_42.csv", false, 0, 0},
      {"?*_[!a-c]*.c?p", "?*_[!a-c]*.c?p", "like_bench_x.cpp", false, 0, 0},
      {"*needle*", "*needle*", "a haystack of some length with a needle somewhere inside it", false,
       0, 0},
      {"literal", "Makefile", "makefile", false, 0, 0},
  };
  for (size_t k : {2, 4, 8, 16, 32})
    for (size_t n : {16, 64, 256, 1024, 4096}) {
      std::string runs;
      for (size_t i = 0; i < k; ++i)
        runs += "*a";
      runs += "*b";
      cases.push_back({"runs " + std::to_string(k) + " n " + std::to_string(n), runs,
                       std::string(n, 'a'), true, k, n});
    }
  for (size_t k : {4, 16, 64})
    for (size_t n : {64, 256, 1024, 4096})
      cases.push_back({"tail " + std::to_string(k) + " n " + std::to_string(n),
                       "*" + std::string(k, 'a') + "b", std::string(n, 'a'), true, k, n});
  for (size_t k : {4, 16, 64})
    for (size_t n : {64, 256, 1024, 4096})
      cases.push_back({"mid " + std::to_string(k) + " n " + std::to_string(n),
                       "*" + std::string(k, 'a') + "b*", std::string(n, 'a'), true, k, n});
  add_word_cases(cases);
  return cases;
}

// ---- Peers ------------------------------------------------------------------------------

enum Peer { rtlike, reference, fnmatch_peer, regex_peer, peer_count };
const char *const peer_names[peer_count] = {"rt_like", "reference", "fnmatch", "std::regex"};

// One matcher ready to run on one case; the regex is compiled beforehand, outside the timing.
struct Prepared {
  std::string pattern, fn_pattern, text;
  std::regex re;
};

int run_peer(Peer peer, const Prepared &p) {
  switch (peer) {
  case rtlike:
    return rt_like(p.pattern.c_str(), p.text.c_str());
  case reference:
    return like_reference::like(p.pattern.c_str(), p.text.c_str());
  case fnmatch_peer:
    return fnmatch(p.fn_pattern.c_str(), p.text.c_str(), FNM_CASEFOLD) == 0 ? 1 : 0;
  case regex_peer:
    return std::regex_match(p.text, p.re) ? 1 : 0;
  default:
    return -1;
  }
}

// The peer's result for one call, from a child process given a quarter of a second; -1 when
// the child runs out of time or dies (a deep recursion can overflow the stack).
int probe(Peer peer, const Prepared &p) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    itimerval limit{};
    limit.it_value.tv_usec = 250000;
    setitimer(ITIMER_REAL, &limit, nullptr);
    _exit(run_peer(peer, p) == 1 ? 1 : 0);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

// ---- Results -----------------------------------------------------------------------------

std::string benchmark_name(const Case &c, Peer peer) {
  return c.name + " / " + peer_names[peer];
}

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;

  const std::vector<Case> cases = make_cases();
  std::vector<Prepared> prepared(cases.size());
  std::vector<std::vector<std::string>> notes(cases.size(), std::vector<std::string>(peer_count));
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case &c = cases[i];
    Prepared &p = prepared[i];
    p.pattern = c.pattern;
    p.fn_pattern = to_fnmatch(c.pattern);
    p.text = c.text;
    p.re = std::regex(to_regex(c.pattern), std::regex::ECMAScript | std::regex::icase);
    const int want = rt_like(p.pattern.c_str(), p.text.c_str());
    for (int peer = rtlike; peer < peer_count; ++peer) {
      const int got = peer == rtlike ? want : probe(static_cast<Peer>(peer), p);
      if (got < 0) {
        notes[i][peer] = "-";
        continue;
      }
      if (got != want) {
        notes[i][peer] = "differs";
        continue;
      }
      const Prepared *prep = &p;
      const Peer which = static_cast<Peer>(peer);
      cpu_timed(benchmark::RegisterBenchmark(benchmark_name(c, which).c_str(),
                                             [prep, which](benchmark::State &state) {
                                               for (auto _ : state)
                                                 benchmark::DoNotOptimize(run_peer(which, *prep));
                                             }))
          ->MinTime(0.05)
          ->Unit(benchmark::kNanosecond);
    }
  }

  CpuTimes times;
  benchmark::RunSpecifiedBenchmarks(&times);
  benchmark::Shutdown();

  // Each peer's time per match as a multiple of rt_like's; for the adversarial families also
  // rt_like's time divided by pattern length x text length.
  std::printf("\nCPU time per match\n%-26s %12s %18s %18s %18s %14s\n", "case", "rt_like ns",
              "reference x", "fnmatch x", "std::regex x", "ps/(m*n)");
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case &c = cases[i];
    const auto own = times.ns.find(benchmark_name(c, rtlike));
    if (own == times.ns.end())
      continue;
    std::printf("%-26s %12.1f", c.name.c_str(), own->second);
    for (int peer = reference; peer < peer_count; ++peer) {
      const auto found = times.ns.find(benchmark_name(c, static_cast<Peer>(peer)));
      if (found != times.ns.end())
        std::printf(" %18.2f", found->second / own->second);
      else
        std::printf(" %18s", notes[i][peer].empty() ? "-" : notes[i][peer].c_str());
    }
    if (c.adversarial)
      std::printf(" %14.1f",
                  1000.0 * own->second / static_cast<double>(c.pattern.size() * c.text.size()));
    std::printf("\n");
  }
  std::printf("(x: the peer's time per match divided by rt_like's; -: the peer needs more than "
              "0.25 s for one match, or did not finish)\n");
  return 0;
}
