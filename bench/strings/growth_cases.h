// The cases of the growth benchmark, shared by the host program (growth_bench.cpp) and the
// Windows-side one (growth_win.cpp): every string routine on ordinary and adversarial inputs
// built for a size n. Each is timed at n and at 4n; a routine whose cost is linear in what it
// reads and writes grows about 4x, a quadratic one about 16x. Growth above 6x is flagged. Work
// handed to a platform call by contract (case conversion, atol, lstrlenA and lstrcpynA) is shown
// but not flagged.
#pragma once

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../texts.h"
#include "rtlib_inline.hpp"

#if !defined(_WIN32)
#include "host/stand_in.h"
#endif

namespace growth {

// Sizes: every case runs at each of these and at four times it.
inline constexpr size_t base_sizes[] = {size_t{16} << 10};
inline constexpr double flag_factor = 6.0;

// On the host the platform stand-in records every call; the records are dropped after each
// call of a routine, so that they do not pile up over a run.
inline void forget_calls() {
#if !defined(_WIN32)
  standin::reset();
#endif
}

using Call = std::function<void()>;

struct Case {
  const char *routine;
  const char *shape;
  bool platform; // the work is a platform call's: measured, not flagged
  std::function<Call(size_t n)> make;
};

// Lower-case words in a fixed pseudo-random order, a line end about every 45 bytes.
inline std::string prose(size_t n) {
  static const char *const words[] = {
      "the",  "of",    "and",    "to",     "in",   "a",    "is",     "that",  "for",  "it",
      "as",   "was",   "with",   "be",     "by",   "on",   "not",    "this",  "are",  "or",
      "from", "which", "string", "search", "text", "line", "memory", "value", "time", "place"};
  return bench_texts::prose_lines(n, 2026, 45, words);
}

// Owned copies of the inputs, kept alive by the call that uses them.
struct Texts {
  std::vector<std::string> bytes;
  std::vector<StrView> views;
  explicit Texts(std::vector<std::string> texts) : bytes(std::move(texts)) {
    for (std::string &b : bytes)
      views.push_back(StrView{b.data(), b.size()}); // std::string keeps a NUL behind its bytes
  }
  StrView *v(size_t i) {
    return &views[i];
  }
};

using Inputs = std::function<std::vector<std::string>(size_t n)>;

// A routine of text and search string (or set) whose result needs no release.
template <typename R>
Case pair_case(const char *routine, const char *shape, R (*fn)(const StrView *, const StrView *),
               Inputs inputs) {
  return {routine, shape, false, [fn, inputs](size_t n) -> Call {
            auto t = std::make_shared<Texts>(inputs(n));
            return [t, fn] {
              volatile R r = fn(t->v(0), t->v(1));
              (void)r;
            };
          }};
}

// A routine that returns a new record or block, released with rt_free.
inline Case record_case(const char *routine, const char *shape, Inputs inputs,
                        std::function<void *(Texts &)> fn) {
  return {routine, shape, false, [inputs, fn](size_t n) -> Call {
            auto t = std::make_shared<Texts>(inputs(n));
            return [t, fn] {
              void *r = fn(*t);
              if (r != nullptr)
                rt_free(r);
              forget_calls();
            };
          }};
}

// An in-place routine; the view and the text bytes are put back as they were after each call.
inline Case in_place_case(const char *routine, const char *shape, bool platform,
                          std::function<std::string(size_t)> input, int64_t (*fn)(StrView *)) {
  return {routine, shape, platform, [input, fn](size_t n) -> Call {
            auto t = std::make_shared<Texts>(std::vector<std::string>{input(n), input(n)});
            return [t, fn] {
              fn(t->v(0));
              // The trims write one NUL at the new end; everything else stays in place.
              char *end = t->views[0].data + t->views[0].length;
              const size_t at = static_cast<size_t>(end - t->bytes[0].data());
              *end = t->bytes[1][at];
              t->views[0] = StrView{t->bytes[0].data(), t->bytes[0].size()};
              forget_calls();
            };
          }};
}

inline std::string a_run(size_t n) {
  return std::string(n, 'a');
}

inline std::string repeated(const std::string &unit, size_t n) {
  std::string s;
  while (s.size() < n)
    s += unit;
  s.resize(n);
  return s;
}

inline std::vector<Case> cases() {
  using Strings = std::vector<std::string>;
  std::vector<Case> c;
  // ---- searches -----------------------------------------------------------------------
  c.push_back(pair_case("rt_instr", "absent word in prose", rt_instr, [](size_t n) {
    return Strings{prose(n), "zebrafish"};
  }));
  c.push_back(pair_case("rt_instr", "a^7 b in a^n (near misses)", rt_instr, [](size_t n) {
    return Strings{a_run(n), a_run(7) + "b"};
  }));
  c.push_back(pair_case("rt_instr", "a^(n/4-1) b in a^n", rt_instr, [](size_t n) {
    return Strings{a_run(n), a_run(n / 4 - 1) + "b"};
  }));
  c.push_back(pair_case("rt_instr", "search with a NUL, NULs in text", rt_instr, [](size_t n) {
    return Strings{repeated(std::string("the\0a ", 6), n), std::string("the\0b", 5)};
  }));
  c.push_back(pair_case("rt_str_count", "\"the\" in prose", rt_str_count, [](size_t n) {
    return Strings{prose(n), "the"};
  }));
  c.push_back(pair_case("rt_str_count", "a in a^n (every byte)", rt_str_count, [](size_t n) {
    return Strings{a_run(n), "a"};
  }));
  c.push_back(pair_case("rt_str_count", "a^8 in a^n", rt_str_count, [](size_t n) {
    return Strings{a_run(n), a_run(8)};
  }));
  c.push_back(pair_case("rt_str_count", "a^(n/4) in a^n", rt_str_count, [](size_t n) {
    return Strings{a_run(n), a_run(n / 4)};
  }));
  c.push_back(pair_case("rt_str_count", "a^(n/4-1) b in a^n", rt_str_count, [](size_t n) {
    return Strings{a_run(n), a_run(n / 4 - 1) + "b"};
  }));
  c.push_back(pair_case("rt_str_count", "aa NUL b in a^n", rt_str_count, [](size_t n) {
    return Strings{a_run(n), std::string("aa\0b", 4)};
  }));
  c.push_back(pair_case("rt_str_verify", "digits, set 0-9", rt_str_verify, [](size_t n) {
    return Strings{repeated("8051", n - 1) + "x", "0123456789"};
  }));
  c.push_back(
      pair_case("rt_str_verify", "a^n, set of n/4 ending in a", rt_str_verify, [](size_t n) {
        return Strings{a_run(n), std::string(n / 4 - 1, 'b') + "a"};
      }));
  c.push_back(record_case(
      "rt_str_find_any", "prose, set #@",
      [](size_t n) {
        return Strings{prose(n), "#@"};
      },
      [](Texts &t) -> void * { return rt_str_find_any(t.v(0), t.v(1)); }));
  c.push_back(record_case(
      "rt_str_find_any", "a^n, set of n/4 without a",
      [](size_t n) {
        return Strings{a_run(n), std::string(n / 4, 'b')};
      },
      [](Texts &t) -> void * { return rt_str_find_any(t.v(0), t.v(1)); }));
  // The matcher: patterns of a fixed size, so linear in the text.
  const auto like = [](const char *shape, std::function<Strings(size_t)> inputs) {
    return Case{"rt_like", shape, false, [inputs](size_t n) -> Call {
                  auto t = std::make_shared<Strings>(inputs(n));
                  return [t] {
                    volatile int32_t r = rt_like((*t)[0].c_str(), (*t)[1].c_str());
                    (void)r;
                  };
                }};
  };
  c.push_back(like("*zebrafish* in prose", [](size_t n) {
    return Strings{"*zebrafish*", prose(n)};
  }));
  c.push_back(like("*memory*zebra* in prose", [](size_t n) {
    return Strings{"*memory*zebra*", prose(n)};
  }));
  c.push_back(like("*a^7 b* in a^n", [](size_t n) {
    return Strings{"*" + a_run(7) + "b*", a_run(n)};
  }));
  c.push_back(like("*a^63 b* in a^n", [](size_t n) {
    return Strings{"*" + a_run(63) + "b*", a_run(n)};
  }));
  c.push_back(like("*a*a*a*a*b in a^n", [](size_t n) { return Strings{"*a*a*a*a*b", a_run(n)}; }));
  // ---- edits --------------------------------------------------------------------------
  const auto replace = [](const char *shape, std::function<Strings(size_t)> inputs) {
    return record_case("rt_str_replace", shape, inputs,
                       [](Texts &t) -> void * { return rt_str_replace(t.v(0), t.v(1), t.v(2)); });
  };
  c.push_back(replace("LF by CR LF in prose", [](size_t n) {
    return Strings{prose(n), "\n", "\r\n"};
  }));
  c.push_back(replace("a by bb in a^n", [](size_t n) { return Strings{a_run(n), "a", "bb"}; }));
  c.push_back(replace("a^8 by x in a^n", [](size_t n) {
    return Strings{a_run(n), a_run(8), "x"};
  }));
  c.push_back(replace("a^(n/4) by x in a^n", [](size_t n) {
    return Strings{a_run(n), a_run(n / 4), "x"};
  }));
  c.push_back(replace("a^(n/4-1) b in a^n", [](size_t n) {
    return Strings{a_run(n), a_run(n / 4 - 1) + "b", "x"};
  }));
  c.push_back(replace("a NUL q by R in (xa NUL q)^(n/4)", [](size_t n) {
    return Strings{repeated(std::string("xa\0q", 4), n), std::string("a\0q", 3), "R"};
  }));
  c.push_back(record_case(
      "rt_str_remove", "middle half", [](size_t n) { return Strings{prose(n)}; },
      [](Texts &t) -> void * {
        const int64_t n = static_cast<int64_t>(t.views[0].length);
        return rt_str_remove(t.v(0), n / 4 + 1, n / 2);
      }));
  c.push_back(record_case(
      "rt_str_insert", "n/2 into the middle of n/2",
      [](size_t n) {
        return Strings{prose(n / 2), a_run(n / 2)};
      },
      [](Texts &t) -> void * {
        return rt_str_insert(t.v(0), t.v(1), static_cast<int64_t>(t.views[0].length / 2));
      }));
  const auto repeat = [](const char *shape, const char *unit) {
    return Case{"rt_str_repeat", shape, false, [unit](size_t n) -> Call {
                  auto t = std::make_shared<Texts>(Strings{unit});
                  const uint64_t count = n / t->views[0].length;
                  return [t, count] {
                    rt_free(rt_str_repeat(t->v(0), count));
                    forget_calls();
                  };
                }};
  };
  c.push_back(repeat("a, n times", "a"));
  c.push_back(repeat("7 bytes, n/7 times", "abcdefg"));
  c.push_back({"rt_str_concat", "n/2 and n/2", false, [](size_t n) -> Call {
                 auto t = std::make_shared<Texts>(Strings{prose(n / 2), a_run(n / 2)});
                 return [t] {
                   RtString destination{};
                   if (rt_str_concat(&destination, t->v(0), t->v(1)) == 0)
                     rt_free(destination.data);
                   forget_calls();
                 };
               }});
  c.push_back(record_case(
      "rt_str_dup", "prose", [](size_t n) { return Strings{prose(n)}; },
      [](Texts &t) -> void * { return rt_str_dup(t.v(0)); }));
  // ---- in place -----------------------------------------------------------------------
  const auto padded = [](size_t n) {
    return std::string(n / 2, ' ') + "x" + std::string(n / 2, '\t');
  };
  const auto white = [](size_t n) { return repeated(" \t\r\n", n); };
  c.push_back(in_place_case("rt_str_trim", "white, x, white", false, padded, rt_str_trim));
  c.push_back(in_place_case("rt_str_trim", "all white", false, white, rt_str_trim));
  c.push_back(in_place_case("rt_str_ltrim", "all white", false, white, rt_str_ltrim));
  c.push_back(in_place_case("rt_str_rtrim", "all white", false, white, rt_str_rtrim));
  c.push_back(in_place_case("rt_str_reverse", "prose", false, prose, rt_str_reverse));
  c.push_back(in_place_case("rt_str_lcase", "prose (platform)", true, prose, rt_str_lcase));
  c.push_back(in_place_case("rt_str_ucase", "prose (platform)", true, prose, rt_str_ucase));
  c.push_back({"rt_str_val", "n zeros, then 42 (platform atol)", true, [](size_t n) -> Call {
                 auto t = std::make_shared<Texts>(Strings{std::string(n - 2, '0') + "42"});
                 return [t] {
                   volatile int64_t r = rt_str_val(t->v(0));
                   (void)r;
                 };
               }});
  // ---- inline string operations -------------------------------------------------------
  c.push_back({"rt_strtemp_copy", "prose", false, [](size_t n) -> Call {
                 auto t = std::make_shared<std::string>(prose(n));
                 return [t] {
                   const StrTemp s = rt_strtemp_copy(t->data(), static_cast<int64_t>(t->size()));
                   rt_inline::release_block(s.data);
                   forget_calls();
                 };
               }});
  c.push_back({"rt_strtemp_concat", "copies of n/2 and n/2", false, [](size_t n) -> Call {
                 auto t = std::make_shared<std::string>(prose(n / 2));
                 return [t] {
                   const int64_t half = static_cast<int64_t>(t->size());
                   const StrTemp s = rt_strtemp_concat(rt_strtemp_copy(t->data(), half),
                                                       rt_strtemp_copy(t->data(), half));
                   rt_inline::release_block(s.data);
                   forget_calls();
                 };
               }});
  c.push_back({"rt_strvar_assign_text", "prose into a fresh variable (platform)", true,
               [](size_t n) -> Call {
                 auto t = std::make_shared<std::string>(prose(n));
                 return [t] {
                   StrVar var;
                   rt_strvar_init(&var);
                   rt_strvar_assign_text(rt_inline::ref_to(var), t->c_str());
                   rt_strvar_release(&var);
                   forget_calls();
                 };
               }});
  return c;
}

// One line of the table: the routine, the shape, the time at n and at 4n, their ratio, and a
// flag when the ratio is above flag_factor (for the runtime's own work).
inline void print_header() {
  std::printf("\n%-22s %-40s %7s %12s %12s %7s\n", "routine", "shape", "n", "time n", "time 4n",
              "growth");
}

inline void print_row(const Case &c, size_t n, double ns, double ns4) {
  const double factor = ns > 0 ? ns4 / ns : 0;
  const bool flagged = factor > flag_factor;
  std::printf("%-22s %-40s %7zu %9.1f us %9.1f us %6.1fx%s\n", c.routine, c.shape, n, ns / 1e3,
              ns4 / 1e3, factor,
              flagged ? (c.platform ? "  > 6x (platform call)" : "  > 6x  NOT LINEAR") : "");
}

} // namespace growth
