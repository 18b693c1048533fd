// Texts the benchmarks search: words of English in a fixed pseudo-random order, and uniformly
// random lower-case letters, both the same in every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace bench_texts {

inline const char *const words[] = {
    "the",   "of",  "and",  "to",    "in",      "a",      "is",     "that",   "for",
    "it",    "as",  "was",  "with",  "be",      "by",     "on",     "not",    "he",
    "this",  "are", "or",   "his",   "from",    "at",     "which",  "but",    "have",
    "an",    "had", "they", "you",   "were",    "their",  "one",    "all",    "we",
    "can",   "her", "has",  "there", "been",    "if",     "more",   "when",   "will",
    "would", "who", "so",   "no",    "runtime", "string", "search", "memory", "text"};

// The next pseudo-random value of state.
inline uint32_t step(uint32_t &state) {
  state = state * 1103515245u + 12345u;
  return state;
}

// The next word of the stream that state drives.
inline const char *next_word(uint32_t &state) {
  return words[(step(state) >> 16) % (sizeof words / sizeof words[0])];
}

// Uniformly random lower-case letters.
inline std::string random_letters(size_t size, uint32_t state) {
  std::string s(size, 'a');
  for (char &c : s)
    c = static_cast<char>('a' + (step(state) >> 16) % 26);
  return s;
}

} // namespace bench_texts
