// The checked runtime on the host stand-in: every broken contract of check_cases.h ends the
// process with RT_EXIT_CHECK after one report line on standard error, and the guarded heap
// keeps its promises (quarantine, resizing, refusals, many threads).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "check_cases.h"
#include "stand_in.h"
#include "stand_in_strings.h"

extern "C" int64_t program_main(void);

// Set in a child that ran a case: the blocks the case left behind are no leaks to report
// (LeakSanitizer asks this at exit).
bool in_case_child = false;
extern "C" int __lsan_is_turned_off() {
  return in_case_child ? 1 : 0;
}

namespace {

// Runs fn in a child process of its own, so that what a broken contract leaves behind stays
// there; the report line, or "" when fn did not end the process with RT_EXIT_CHECK.
std::string report_of(void (*fn)()) {
  int channel[2];
  if (pipe(channel) != 0)
    return "<no pipe>";
  const pid_t child = fork();
  if (child == 0) {
    standin::reset();
    const auto code = standin::run_until_exit(fn);
    const std::string line = code == std::optional<UINT>(RT_EXIT_CHECK)
                                 ? standin::written_to(standin::stderr_handle)
                                 : "";
    ssize_t ignored = write(channel[1], line.data(), line.size());
    static_cast<void>(ignored);
    // A normal end, so that a coverage build writes the child's counts.
    in_case_child = true;
    exit(0);
  }
  close(channel[1]);
  std::string line;
  char buffer[256];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
    line.append(buffer, static_cast<size_t>(got));
  close(channel[0]);
  waitpid(child, nullptr, 0);
  return line;
}

// The call site names this program by its file name alone.
const std::regex site_at_end("; called at host_checked\\+0x[0-9a-f]+\n$");

TEST(CheckedHost, EveryBrokenContractReportsOnceAndEnds) {
  for (const auto &c : check_cases::cases) {
    SCOPED_TRACE(c.name);
    const std::string line = report_of(c.run);
    const std::string name = c.name;
    const std::string argument =
        name.substr(name.find('.') + 1, name.rfind('.') - name.find('.') - 1);
    EXPECT_EQ(line.rfind("rtlib check: " + std::string(c.reported) + ": " + argument + ": ", 0), 0u)
        << line;
    EXPECT_NE(line.find(c.says), std::string::npos) << line;
    EXPECT_TRUE(std::regex_search(line, site_at_end)) << line;
  }
}

// Calls that keep the contracts pass, with the results of the release runtime.
TEST(CheckedHost, KeptContractsPass) {
  standin::reset();
  char text[] = "  hello  ";
  StrView v{text, 9};
  EXPECT_EQ(rt_str_trim(&v), 0);
  EXPECT_EQ(std::string(v.data, v.length), "hello");
  StrView empty{nullptr, 0};
  StrView search{const_cast<char *>("l"), 1};
  EXPECT_EQ(rt_instr(&empty, &empty), 1);
  EXPECT_EQ(rt_instr(&v, &search), 3);
  EXPECT_EQ(rt_str_count(&v, &empty), 0);
  EXPECT_EQ(rt_like(nullptr, "a"), 0);
  RtString *dup = rt_str_dup(&v);
  ASSERT_NE(dup, nullptr);
  EXPECT_EQ(rt_str_asc(reinterpret_cast<StrView *>(dup)), 'h');
  EXPECT_EQ(rt_free(dup), 1);
  EXPECT_EQ(rt_free(nullptr), 0);
  StrVar var{};
  rt_strvar_init(&var);
  rt_strvar_assign_text(&var.data, "abc");
  StrTemp joined = rt_strtemp_concat(rt_strtemp_copy("x", 1), StrTemp{nullptr, 0});
  rt_strvar_adopt(&var.data, joined.data, joined.length);
  rt_strvar_adopt(&var.data, nullptr, 0);
  rt_strvar_release(&var);
  // Texts outside the variable's storage, below and above it.
  StrVar fixed{};
  char buffer[8];
  char below[] = "ab";
  rt_strvar_init_fixed(&fixed, buffer, sizeof buffer);
  rt_strvar_assign_text(&fixed.data, below);
  rt_strvar_assign_text(&fixed.data, "c");
  StrVar none{};
  rt_strvar_assign_text(&none.data, "hi");
  rt_strvar_release(&none);
  // A full heap variable (length equal to capacity) needs no NUL behind its text.
  auto *full_block = static_cast<char *>(rt_inline::malloc(16));
  memcpy(full_block, "abcdefghijklmnop", 16);
  StrVar full{8, 8, full_block};
  rt_strvar_release(&full);
  EXPECT_EQ(standin::written_to(standin::stderr_handle), "");
}

TEST(CheckedHost, ResizingKeepsTheBytesAndReleasesTheOldBlock) {
  standin::reset();
  auto *block = static_cast<char *>(rt_alloc(4));
  memcpy(block, "abcd", 4);
  auto *grown = static_cast<char *>(rt_realloc(block, 8));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(std::string(grown, 8), std::string("abcd\0\0\0\0", 8));
  auto *shrunk = static_cast<char *>(rt_realloc(grown, 2));
  EXPECT_EQ(std::string(shrunk, 2), "ab");
  // A refused resize leaves the block live; a refused or impossible size gives null.
  standin::script_heap_results({false});
  EXPECT_EQ(rt_realloc(shrunk, 64), nullptr);
  standin::script_heap_results({false});
  EXPECT_EQ(rt_alloc(1), nullptr);
  EXPECT_EQ(rt_alloc(UINT64_MAX - 8), nullptr);
  EXPECT_NE(rt_realloc(nullptr, 3), nullptr);
  EXPECT_EQ(rt_free(shrunk), 1);
  static char *old = nullptr;
  old = grown;
  const std::string line = report_of([] { rt_free(old); });
  EXPECT_NE(line.find("was released already (a block of 8 bytes)"), std::string::npos) << line;
}

// Released blocks leave the quarantine oldest first once it holds 4096 of them; a block that
// has left it is no longer known.
TEST(CheckedHost, TheQuarantineIsBounded) {
  standin::reset();
  static void *first = nullptr;
  first = rt_alloc(1);
  rt_free(first);
  for (int i = 0; i < 4096; ++i)
    rt_free(rt_alloc(1));
  const std::string line = report_of([] { rt_free(first); });
  EXPECT_NE(line.find("is no block of rtlib's heap"), std::string::npos) << line;
  // By bytes as well: one block larger than the whole quarantine goes back at once.
  static void *large = nullptr;
  large = rt_alloc((uint64_t{16} << 20) + 1);
  rt_free(large);
  const std::string gone = report_of([] { rt_free(large); });
  EXPECT_NE(gone.find("is no block of rtlib's heap"), std::string::npos) << gone;
}

TEST(CheckedHost, ManyThreadsShareTheHeap) {
  standin::reset();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([] {
      for (int i = 0; i < 2000; ++i) {
        void *block = rt_alloc(static_cast<uint64_t>(i % 50));
        block = rt_realloc(block, static_cast<uint64_t>(i % 70));
        rt_free(block);
      }
    });
  for (auto &t : threads)
    t.join();
  EXPECT_EQ(standin::written_to(standin::stderr_handle), "");
}

// rt_start runs this as the program's main procedure.
int64_t (*main_body)() = nullptr;

TEST(CheckedHost, ExitLooksAtGuardBytesAndLeaks) {
  // One live block written past its end.
  main_body = [] {
    static_cast<char *>(rt_alloc(8))[8] = 1;
    return int64_t{0};
  };
  const std::string overrun = report_of([] { rt_start(); });
  EXPECT_NE(overrun.find("rtlib check: rt_start: a block of rtlib's heap: was written past its "
                         "end (8 bytes"),
            std::string::npos)
      << overrun;
  // Leaks: only with RTLIB_CHECK_LEAKS=1, one line naming the first four blocks made; the
  // program's exit code stays.
  main_body = [] {
    for (int i = 0; i < 6; ++i)
      rt_str_new();
    return int64_t{7};
  };
  for (const char *value : {"", "0", "1"}) {
    SCOPED_TRACE(value);
    if (*value == 0)
      unsetenv("RTLIB_CHECK_LEAKS");
    else
      setenv("RTLIB_CHECK_LEAKS", value, 1);
    standin::reset();
    EXPECT_EQ(standin::run_until_exit([] { rt_start(); }), std::optional<UINT>(7));
    const std::string line = standin::written_to(standin::stderr_handle);
    if (value[0] != '1') {
      EXPECT_EQ(line, "");
      continue;
    }
    EXPECT_NE(line.find(" blocks ("), std::string::npos) << line;
    EXPECT_NE(line.find(" bytes) still live at exit; made first by "), std::string::npos) << line;
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), 3) << line;
  }
  unsetenv("RTLIB_CHECK_LEAKS");
}

} // namespace

extern "C" int64_t program_main(void) {
  return main_body();
}
