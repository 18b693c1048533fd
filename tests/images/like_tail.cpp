// An inline-profile image of the reduced form that carries the wildcard matcher and uses it:
// its exit code has bit i set when case i below matched, so a test can check the results
// and, from the import table, that the matcher brought in nothing from the C runtime.
#include <windows.h>

#include "rtlib.h"

namespace {

struct Pair {
  const char *pattern;
  const char *text;
};

const Pair pairs[] = {
    {"*.txt", "notes.TXT"},                                                               // 1
    {"A[b-d]?E", "acxe"},                                                                 // 1
    {"[!a-z]", "q"},                                                                      // 0
    {"*a*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"}, // 0
    {"##-##", "12-34"},                                                                   // 1
    {"[\xE0-\xEF]", "\xE9"},                                                              // 1
    {nullptr, ""},                                                                        // 0
};

} // namespace

extern "C" void like_tail_main(void) {
  UINT bits = 0;
  for (UINT i = 0; i < sizeof pairs / sizeof *pairs; ++i)
    if (rt_like(pairs[i].pattern, pairs[i].text) != 0)
      bits |= 1u << i;
  ExitProcess(bits);
}
