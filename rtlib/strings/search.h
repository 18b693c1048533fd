// The search core that rt_instr, rt_str_count and rt_str_replace share (its code lives in
// instr.cpp, which is compiled for speed): one search string, set up once, run over one text
// any number of times, each time from a later offset than the last. Finding every occurrence
// that way, overlapping ones included, is linear in the text and the search string together.
#pragma once

#include "platform.h"

namespace rt {

struct Search {
  const unsigned char *x; // the search string
  uint64_t m;             // its length, at least 1
  // The scan: its pair and third byte as offsets into x (front > m until they are chosen),
  // and the bytes its comparisons have cost so far.
  uint64_t front, back, third;
  uint64_t work;
  // The two-way search, once it has taken over from the scan: the critical position and the
  // period (or the shift after a full match), whether x has that period throughout; and where
  // the search goes on behind the occurrence it found last, with how much of the left part is
  // known to match there (-1: nothing).
  bool two_way, periodic;
  int64_t ell, period;
  uint64_t resume;
  int64_t resume_memory;
};

// Sets up a search for x[0..m), m >= 1. Examines nothing yet.
void search_start(Search &s, const char *x, uint64_t m);

// The offset of the first occurrence in y[0..n) at or after from, or n when there is none.
// Every call of one search goes over the same text, from an offset above the last one found.
uint64_t search_next(Search &s, const char *y, uint64_t n, uint64_t from);

// How many bytes of y[0..n) are c.
uint64_t count_byte(const char *y, uint64_t n, char c);

} // namespace rt
