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

// Words of list in the stream that state drives, a line end behind the first word that reaches
// line_bytes since the last one, a space behind every other; size bytes.
template <size_t N>
std::string prose_lines(size_t size, uint32_t state, size_t line_bytes,
                        const char *const (&list)[N]) {
  std::string s;
  size_t line = 0;
  while (s.size() < size) {
    s += list[(step(state) >> 16) % N];
    if (s.size() - line >= line_bytes) {
      s += '\n';
      line = s.size();
    } else {
      s += ' ';
    }
  }
  s.resize(size);
  return s;
}

// Uniformly random lower-case letters.
inline std::string random_letters(size_t size, uint32_t state) {
  std::string s(size, 'a');
  for (char &c : s)
    c = static_cast<char>('a' + (step(state) >> 16) % 26);
  return s;
}

} // namespace bench_texts
