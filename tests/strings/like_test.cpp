// The wildcard matcher on both tiers: the documented results, class and folding corners, and
// agreement with the plain recursive search (like_reference.h) over whole families of inputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "like_reference.h"
#include "rtlib.h"
#include "text_support.h"

namespace {

struct Case {
  const char *pattern;
  const char *text;
  int32_t result;
};

void expect_cases(const Case *begin, const Case *end) {
  for (const Case *c = begin; c != end; ++c) {
    EXPECT_EQ(rt_like(c->pattern, c->text), c->result)
        << "pattern \"" << c->pattern << "\" text \"" << c->text << "\"";
    EXPECT_EQ(rt_like_match(c->pattern, c->text), c->result)
        << "pattern \"" << c->pattern << "\" text \"" << c->text << "\"";
    // The oracle must read the rules the same way, or the differential tests mean nothing.
    EXPECT_EQ(like_reference::like(c->pattern, c->text), c->result)
        << "reference, pattern \"" << c->pattern << "\" text \"" << c->text << "\"";
  }
}

// The documented table, row by row.
const Case documented[] = {
    {"", "", 1},
    {"", "a", 0},
    {"*", "", 1},
    {"**", "", 1},
    {"*x*", "", 0},
    {"?*", "", 0},
    {"*?", "a", 1},
    {"a*c", "ac", 1},
    {"a**c", "abbc", 1},
    {"a*b*c", "aXbYc", 1},
    {"a*b*c", "aXbY", 0},
    {"*a", "bbb", 0},
    {"a?c", "abc", 1},
    {"a?c", "ac", 0},
    {"???", "ab", 0},
    {"abc", "abcd", 0},
    {"ABC", "abc", 1},
    {"a-b", "A-B", 1},
    {"#", "7", 1},
    {"#", "x", 0},
    {"##-##", "12-34", 1},
    {"#*#", "1abc2", 1},
    {"*#", "abc", 0},
    {"*.txt", "notes.TXT", 1},
    {"[abc]", "b", 1},
    {"[abc]", "B", 0},
    {"[a-z]", "q", 1},
    {"[a-z]", "Q", 0},
    {"[!a-z]", "Q", 1},
    {"[!a-z]", "q", 0},
    {"[z-a]", "m", 0},
    {"[a-]", "-", 1},
    {"[-a]", "-", 1},
    {"[a-c-e]", "d", 0},
    {"[a-c-e]", "e", 1},
    {"[[]", "[", 1},
    {"[]]", "]", 0},
    {"[]", "a", 0},
    {"a[]", "ab", 0},
    {"[!]", "x", 1},
    {"[!]x", "ax", 1},
    {"[!!]", "!", 0},
    {"[!!]", "a", 1},
    {"[", "a", 0},
    {"[!", "a", 1},
    {"[!a", "bc", 0},
    {"[abc", "c", 1},
    {"[abc", "d", 0},
    {"[!0-9]*", "x1", 1},
    {"A[b-d]?E", "acxe", 1},
    {"?", "\xE9", 1},
    {"\xE9", "\xC9", 0},
    {"[\xE0-\xEF]", "\xE9", 1},
    {"[ -\xFF]", "a", 0},
};

TEST(Like, DocumentedResults) {
  expect_cases(std::begin(documented), std::end(documented));
}

TEST(Like, NullPointersGiveZero) {
  EXPECT_EQ(rt_like(nullptr, ""), 0);
  EXPECT_EQ(rt_like("", nullptr), 0);
  EXPECT_EQ(rt_like(nullptr, nullptr), 0);
  EXPECT_EQ(rt_like("*", nullptr), 0);
  EXPECT_EQ(rt_like(nullptr, "a"), 0);
}

// Classes: member and range parsing, where a class ends, negation, signed byte order.
const Case classes[] = {
    // '-' first, last, after a range, between two ranges, as a range bound.
    {"[a-c-e]", "-", 1},
    {"[a-c-e]", "c", 1},
    {"[a-c-e]", "f", 0},
    {"[-a]", "a", 1},
    {"[-a]", "b", 0},
    {"[--a]", "-", 1},
    {"[--a]", "0", 1},
    {"[--a]", "b", 0},
    {"[a--]", "a", 0},
    {"[a--]", "-", 0},
    {"[!-]", "-", 0},
    {"[!-]", "a", 1},
    {"[-]", "-", 1},
    {"[a-]x", "-x", 1},
    {"[a-]x", "ax", 1},
    // Unterminated classes run to the end of the pattern.
    {"[a-", "-", 1},
    {"[a-", "a", 1},
    {"[a-", "b", 0},
    {"[a-c", "b", 1},
    {"[!a-c", "b", 0},
    {"[!a-c", "d", 1},
    {"[!a-c", "dd", 0},
    {"*[ab", "xxb", 1},
    // ']' right after the '[' or the '!' closes the class; later ones are literal bytes.
    {"[!]]", "x]", 1},
    {"[!]]", "x", 0},
    {"[]]", "", 0},
    {"[]a", "a", 0},
    {"[a]]", "a]", 1},
    {"[a]]", "a", 0},
    // '!' and '[' are ordinary members past the first place.
    {"[a!]", "!", 1},
    {"[!a!]", "!", 0},
    {"[[-]]", "[]", 1},
    {"[*]", "*", 1},
    {"[*]", "a", 0},
    {"[?]", "a", 0},
    {"[#]", "#", 1},
    {"[#]", "1", 0},
    // No folding inside a class.
    {"[A-Z]", "a", 0},
    {"[a]", "A", 0},
    {"[!a]", "A", 1},
    // Signed order: bytes from 128 sort below every ASCII byte.
    {"[\x80-\x7F]", "a", 1},
    {"[\x80-\x7F]", "\xFF", 1},
    {"[\x80-\x7F]", "\x80", 1},
    {"[\x7F-\x80]", "\x7F", 0},
    {"[\x7F-\x80]", "\x80", 0},
    {"[\xFF-a]", "a", 1},
    {"[\xFF-a]", "0", 1},
    {"[\xFF-a]", "\xFF", 1},
    {"[\xFF-a]", "\x80", 0},
    {"[\xFF-a]", "b", 0},
    {"[\x01-\x7F]", "\xC0", 0},
    {"[!\x80-\xFF]", "\x80", 0},
    {"[!\x80-\xFF]", "\x7F", 1},
    {"[\xE9]", "\xE9", 1},
    {"[\xE9]", "\xC9", 0},
};

TEST(Like, ClassCorners) {
  expect_cases(std::begin(classes), std::end(classes));
}

// Folding covers exactly a-z and A-Z; '#' exactly 0-9; '?' any byte.
const Case elements[] = {
    {"Z", "z", 1},       {"z", "Z", 1},    {"@", "`", 0},           {"[", "{", 0},
    {"^", "~", 0},       {"_", "\x7F", 0}, {"\xC9", "\xE9", 0},     {"\xE9", "\xE9", 1},
    {"\xFF", "\xFF", 1}, {"#", "/", 0},    {"#", ":", 0},           {"#", "0", 1},
    {"#", "9", 1},       {"#", "\xB2", 0}, {"?", "\xFF", 1},        {"?", "\x01", 1},
    {"?", "*", 1},       {"a", "*", 0},    {"*", "\x01\xFF*?[", 1}, {"!", "!", 1},
    {"]", "]", 1},       {"-", "-", 1},
};

TEST(Like, SingleElements) {
  expect_cases(std::begin(elements), std::end(elements));
}

// Where a stretch for the asterisks has to be given back or taken on.
const Case stars[] = {
    {"*ab", "aab", 1},         {"*aab", "aaab", 1},
    {"*a", "aab", 0},          {"*a*", "bab", 1},
    {"*a*", "bbb", 0},         {"a*", "a", 1},
    {"a*", "ba", 0},           {"*a?b", "aaab", 1},
    {"*a?b", "aab", 1},        {"*a?b", "ab", 0},
    {"*?*?*", "a", 0},         {"*?*?*", "ab", 1},
    {"***?***", "x", 1},       {"a*b*c", "abcbc", 1},
    {"a*b*c", "abcbcx", 0},    {"*x*y*z", "zyxzyxyz", 1},
    {"*[!a]", "aaab", 1},      {"*[!a]", "aaaa", 0},
    {"*#*#", "a1b2c", 0},      {"*#*#", "a1b2c3", 1},
    {"*[abc", "aac", 1},       {"*[", "abc", 0},
    {"*[!", "abc", 1},         {"*[!", "", 0},
    {"*.txt", "a.txt.bak", 0}, {"*.txt", "archive.tar.txt", 1},
    {"*?.TXT", ".txt", 0},
};

TEST(Like, AsteriskStretches) {
  expect_cases(std::begin(stars), std::end(stars));
}

// Stretches between runs of asterisks: a later one may not reuse characters an earlier one
// took, the last one sits at the text's end, and one led by a letter is found in either case.
const Case segments[] = {
    // No character serves two stretches.
    {"*ab*ba", "aba", 0},
    {"*ab*ba", "abba", 1},
    {"*ab*ab", "ab", 0},
    {"*ab*ab", "abab", 1},
    {"x*ab*b", "xab", 0},
    {"x*ab*b", "xabb", 1},
    {"*a*b*c*", "cbacba", 0},
    {"*a*b*c*", "cbacbac", 1},
    // A stretch starting over inside a partial fit.
    {"*abc*", "ababc", 1},
    {"*abc*", "ababab", 0},
    {"*aab*", "aaab", 1},
    // Led by a letter in either case, by a byte above ASCII, by '?', '#' or a class.
    {"*N*", "xnx", 1},
    {"*n*", "xNx", 1},
    {"*n*", "x\xEEx", 0},
    {"*\xE9*", "x\xC9x", 0},
    {"*\xE9*", "x\xE9x", 1},
    {"*?a*", "a", 0},
    {"*?a*", "ba", 1},
    {"*#a*", "a1a", 1},
    {"*#a*", "aa1", 0},
    {"*[!x]y*z", "xxyz", 0},
    {"*[!x]y*z", "xayz", 1},
    // An unterminated class holds a '*' as a member, not a run.
    {"*[xy*z", "ay", 1},
    {"*[xy*z", "ayz", 1},
    {"*[xy*z", "a[", 0},
    // The last stretch needs as many characters as it has elements.
    {"*.txt", "t", 0},
    {"*#", "", 0},
};

TEST(Like, StretchesBetweenAsteriskRuns) {
  expect_cases(std::begin(segments), std::end(segments));
}

// A middle stretch is tried only where its first and last literal bytes are found, in either
// case for letters; places where both are found may still fail in between, and the last place
// a stretch can start at is where the text has just enough left for it.
const Case prechecks[] = {
    // First and last found, the middle fails, until a later place fits.
    {"*a-b*", "a-xa_ba-b", 1},
    {"*a-b*", "a-xa_b", 0},
    // The last element a letter in the other case, or not a letter.
    {"*xN*", "xn", 1},
    {"*xn*", "xN", 1},
    {"*xn*", "xm", 0},
    {"*x1*", "x2X1", 1},
    {"*x1*", "x2x", 0},
    // Led by '?', '#' or a class, ended by a literal, and the other way round.
    {"*?Z*", "zz", 1},
    {"*#Z*", "zz1z", 1},
    {"*#Z*", "zz1y", 0},
    {"*[0-9]z*", "z9Z", 1},
    {"*a[0-9]*", "abaXa5", 1},
    {"*a[0-9]*", "aba", 0},
    {"*a?*", "ba", 0},
    // The last place a stretch can start at.
    {"*abc*", "xabc", 1},
    {"*abc*", "xab", 0},
    {"x*abc*", "xabc", 1},
    {"x*abc*", "xab", 0},
    {"*abcd*x", "abc", 0},
    {"*ab*c", "abc", 1},
    {"*ab*c", "cab", 0},
    {"*ab*?", "xab", 0},
    // A text byte equal to an element that is no literal: '#' and '[' are not themselves.
    {"#", "#", 0},
    {"a#", "a#", 0},
    {"[", "[", 0},
    {"*x[", "ax[", 0},
    {"?", "?", 1},
    {"*?x", "a?x", 1},
};

TEST(Like, MiddleStretchPrechecks) {
  expect_cases(std::begin(prechecks), std::end(prechecks));
}

// The text and the pattern end at their first NUL, whatever follows it.
TEST(Like, StopsAtTheTerminator) {
  const char text[] = {'a', 'b', 0, 'c', 0};
  const char pattern[] = {'a', '*', 0, 'x', 0};
  EXPECT_EQ(rt_like("ab", text), 1);
  EXPECT_EQ(rt_like("abc", text), 0);
  EXPECT_EQ(rt_like("ab?", text), 0);
  EXPECT_EQ(rt_like("ab[!x]", text), 0);
  EXPECT_EQ(rt_like(pattern, "ab"), 1);
  EXPECT_EQ(rt_like(pattern, "abx"), 1);
}

std::string repeat(const std::string &piece, size_t count) {
  std::string out;
  for (size_t i = 0; i < count; ++i)
    out += piece;
  return out;
}

// Many runs of asterisks that fail late: the plain search would take time growing like the
// text length to the power of the number of runs. These must finish at once.
TEST(Like, ManyAsteriskRunsFailingLate) {
  for (size_t runs : {size_t{8}, size_t{20}, size_t{64}}) {
    const std::string pattern = repeat("*a", runs) + "*b";
    for (size_t length : {runs - 1, runs, size_t{300}, size_t{2000}}) {
      const std::string as(length, 'a');
      EXPECT_EQ(rt_like(pattern.c_str(), as.c_str()), 0) << runs << " " << length;
      EXPECT_EQ(rt_like(pattern.c_str(), (as + "b").c_str()), length >= runs ? 1 : 0)
          << runs << " " << length;
      EXPECT_EQ(rt_like(pattern.c_str(), (as + "ab").c_str()), length + 1 >= runs ? 1 : 0)
          << runs << " " << length;
      EXPECT_EQ(rt_like(pattern.c_str(), (as + "ba").c_str()), 0) << runs << " " << length;
    }
  }
}

// One level per asterisk run would need far more stack than a thread has here.
TEST(Like, DepthDoesNotGrowWithAsteriskRuns) {
  const size_t runs = 200000;
  const std::string fits = repeat("*a", runs) + "*";
  const std::string fails = repeat("*a", runs) + "*b";
  const std::string as(runs, 'a');
  EXPECT_EQ(rt_like(fits.c_str(), as.c_str()), 1);
  EXPECT_EQ(rt_like(fails.c_str(), as.c_str()), 0);
  EXPECT_EQ(rt_like(fails.c_str(), (as + "xb").c_str()), 1);
}

// A middle stretch of literal bytes with enough text ahead is looked for with skips: wherever a
// skip lands, every byte of the stretch still counts, in either case for letters, and the text
// is still read no further than its terminator (the texts below are in blocks of exactly their
// size on the host). Texts are filler and a tail, the filler repeated to its size.
struct SkipCase {
  std::string pattern, filler;
  size_t size;
  std::string tail;
  int32_t result;
};

TEST(Like, SkippingStretchesOverLongTexts) {
  // Stretches longer than the distances a table entry holds.
  const std::string long_word = std::string(255, 'q') + "z";
  const std::string longer_word = "w" + long_word;
  const SkipCase cases[] = {
      {"*needle*", "x", 200, "needle", 1},
      {"*needle*", "x", 200, "needl", 0},
      {"*needle*", "NEEDLE", 6, std::string(200, 'y'), 1},
      {"*NeEdLe*", "the quick brown fox ", 400, "nEeDlE jumps", 1},
      {"*needle*", "THE QUICK BROWN FOX ", 400, "NEEDLE", 1},
      {"*needle*", "neexle needlx eedle ", 2000, "needl", 0},
      {"*needle*", "neexle needlx eedle ", 2000, "needlee", 1},
      {"*abcab*", "abcaxcab", 300, "abcabc", 1},
      {"*abcab*", "abcaXcab", 300, "ABCAB", 1},
      {"*abab*", "aab", 300, "ba", 0},
      {"*abab*", "aab", 300, "ab", 1},
      {"*\xE9t\xE9*", "x", 100, "\xC9T\xC9", 0},
      {"*\xE9t\xE9*", "x", 100, "\xE9T\xE9y", 1},
      {"*" + long_word + "*", "q", 600, "z", 1},
      {"*" + long_word + "*", "q", 600, "Z", 1},
      {"*" + long_word + "*", "q", 600, "y", 0},
      {"*" + long_word + "*", "qqqqqz", 600, "", 0},
      {"*" + longer_word + "*", "w", 600, longer_word, 1},
      {"*" + longer_word + "*", "wx", 600, long_word, 0},
      {"*quick*fox*", "the lazy dog ", 800, "fox quick", 0},
      {"*quick*fox*", "the lazy dog ", 800, "quickfox", 1},
      {"*QUICK*fox*", "the lazy dog ", 800, "quick, fox", 1},
      {"t*lazy*dog", "the lazy dog ", 800, "dog", 1},
      {"t*lazy*dog", "the lazy dog ", 800, "dig", 0},
      {"*abc*", "x", 64, "abc", 1}, // just enough text ahead for the skips
      {"*abc*", "x", 63, "abc", 1}, // one byte less: place by place
  };
  for (const SkipCase &c : cases) {
    std::string text;
    while (text.size() < c.size)
      text += c.filler;
    text.resize(c.size);
    text += c.tail;
    const Text exact(text);
    EXPECT_EQ(rt_like(c.pattern.c_str(), exact.bytes.get()), c.result)
        << c.pattern << " / " << c.filler << " " << c.tail;
    EXPECT_EQ(like_reference::like(c.pattern.c_str(), text.c_str()), c.result) << c.pattern;
  }
}

// Long pseudo-random texts of few letters in both cases, against stretches of them between
// asterisk runs: results must equal those of the plain search.
TEST(Like, SkippingAgreesWithThePlainSearch) {
  Pseudo next{0x2545F4914F6CDD1Du};
  const char letters[] = {'a', 'b', 'A', 'B', 'c'};
  const auto word = [&](uint32_t shortest, uint32_t spread) {
    std::string w;
    for (uint32_t i = 0, n = shortest + next(spread); i < n; ++i)
      w += letters[next(4)];
    return w;
  };
  const char *const shapes[] = {"*%*", "*%*%*", "a*%*", "*%*%", "*%?*"};
  int matched = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string pattern;
    for (const char *s = shapes[next(5)]; *s != 0; ++s)
      pattern += *s == '%' ? word(3, 6) : std::string(1, *s);
    std::string text;
    for (uint32_t i = 0, n = 64 + next(700); i < n; ++i)
      text += letters[next(5)];
    const Text exact(text);
    const int want = like_reference::like(pattern.c_str(), text.c_str());
    matched += want;
    ASSERT_EQ(rt_like(pattern.c_str(), exact.bytes.get()), want) << pattern << " / " << text;
  }
  EXPECT_GT(matched, 500);
  EXPECT_LT(matched, 2500);
}

// Every pattern of up to four elements from a small alphabet that is rich in the special
// bytes, against every text of up to three characters from an alphabet that touches each
// rule: results must equal those of the plain search.
TEST(Like, AgreesWithThePlainSearchOnAllSmallInputs) {
  const char pattern_alphabet[] = {'*', '?', '#', '[', ']', '!', '-', 'a', 'B', '\xE9'};
  const char text_alphabet[] = {'a', 'b', 'A', '-', ']', '1', '\xE9'};
  std::vector<std::string> patterns{""}, texts{""};
  for (size_t from = 0, length = 1; length <= 4; ++length) {
    const size_t to = patterns.size();
    for (size_t i = from; i < to; ++i)
      for (char c : pattern_alphabet)
        patterns.push_back(patterns[i] + c);
    from = to;
  }
  for (size_t from = 0, length = 1; length <= 3; ++length) {
    const size_t to = texts.size();
    for (size_t i = from; i < to; ++i)
      for (char c : text_alphabet)
        texts.push_back(texts[i] + c);
    from = to;
  }
  size_t mismatches = 0, matches = 0;
  for (const std::string &p : patterns)
    for (const std::string &t : texts) {
      const int want = like_reference::like(p.c_str(), t.c_str());
      const int got = rt_like(p.c_str(), t.c_str());
      matches += static_cast<size_t>(got);
      if (got != want && ++mismatches <= 20)
        ADD_FAILURE() << "pattern \"" << p << "\" text \"" << t << "\": " << got << " want "
                      << want;
    }
  EXPECT_EQ(mismatches, 0u);
  // Both outcomes are well represented, so agreement is not agreement on "no".
  EXPECT_GT(matches, patterns.size());
}

// Longer pseudo-random inputs with up to five asterisk runs, from a fixed seed.
TEST(Like, AgreesWithThePlainSearchOnRandomInputs) {
  Pseudo next{0x9E3779B97F4A7C15u};
  const char *pieces[] = {"*", "**", "?", "#",     "[",    "]",    "[!",   "-", "a",
                          "b", "A",  "x", "[a-c]", "[!a]", "\xE9", "\x80", "1", "[\xE0-\xEF]"};
  const char text_bytes[] = {'a', 'b', 'A', 'x', 'c', '-', ']', '!', '0', '9', '\xE9', '\x80', '['};
  int decided = 0, matched = 0;
  for (int round = 0; round < 40000; ++round) {
    std::string pattern, text;
    int runs = 0;
    const uint32_t pieces_count = next(12);
    for (uint32_t i = 0; i < pieces_count; ++i) {
      const char *piece = pieces[next(sizeof pieces / sizeof *pieces)];
      if (piece[0] == '*' && ++runs > 5)
        continue;
      pattern += piece;
    }
    const uint32_t text_length = next(24);
    for (uint32_t i = 0; i < text_length; ++i)
      text += text_bytes[next(sizeof text_bytes)];
    const int want = like_reference::like_bounded(pattern.c_str(), text.c_str(), 1000000);
    if (want < 0)
      continue;
    ++decided;
    const int got = rt_like(pattern.c_str(), text.c_str());
    matched += got;
    ASSERT_EQ(got, want) << "pattern \"" << pattern << "\" text \"" << text << "\"";
  }
  EXPECT_GT(decided, 39000);
  EXPECT_GT(matched, 1000);
}

} // namespace
