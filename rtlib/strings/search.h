// The search core that rt_instr, rt_str_count and rt_str_replace share; its code lives in
// instr.cpp, which is compiled for speed.
#pragma once

#include "platform.h"

namespace rt {

// Occurrences of a search string (not empty) in a text, both by length, from offset from on:
// with all false, one plus the offset of the first one, or 0 when there is none; with all true,
// how many there are, overlapping ones included. Either way linear in the text's length from
// that offset plus the search string's.
uint64_t search(const StrView *text, const StrView *search, uint64_t from, bool all);

} // namespace rt
