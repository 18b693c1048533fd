// Integer and floating routines: results on both tiers (the host tier runs them under
// UndefinedBehaviorSanitizer, so wrapping inputs must not be undefined).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "rtlib.h"

namespace {

TEST(Ipow, Table) {
  const struct {
    int64_t base, exponent, result;
  } cases[] = {
      {2, 10, 1024},
      {-3, 3, -27},
      {-3, 4, 81},
      {0, 0, 1},
      {0, 5, 0},
      {7, 0, 1},
      {5, -1, 0},
      {1, -1, 0},
      {-1, -1, 0},
      {0, -1, 0},
      {2, INT64_MIN, 0},
      {-1, INT64_MAX, -1},
      {-1, INT64_MAX - 1, 1},
      {1, INT64_MAX, 1},
      {2, 62, INT64_C(4611686018427387904)},
      {2, 63, INT64_MIN},
      {2, 64, 0},
      {2, 1000, 0},
      {3, 40, INT64_C(-6289078614652622815)}, // 3^40 modulo 2^64
      {10, 19, INT64_C(-8446744073709551616)},
      {INT64_MIN, 2, 0},
      {INT64_MIN, 1, INT64_MIN},
      {INT64_MAX, 2, 1},
      {-2, 63, INT64_MIN},
  };
  for (const auto &c : cases)
    EXPECT_EQ(rt_ipow(c.base, c.exponent), c.result) << c.base << "^" << c.exponent;
}

// Every bit of the result must match repeated multiplication modulo 2^64.
TEST(Ipow, MatchesRepeatedWrappingMultiplication) {
  for (int64_t base : {3, -7, 12345, -999999937}) {
    uint64_t expected = 1;
    for (int64_t exponent = 0; exponent < 130; ++exponent) {
      EXPECT_EQ(rt_ipow(base, exponent), static_cast<int64_t>(expected)) << base << "^" << exponent;
      expected *= static_cast<uint64_t>(base);
    }
  }
}

const double infinity = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

TEST(Fpow, Table) {
  const struct {
    double base, exponent, result;
  } cases[] = {
      {2.0, 0.5, 1.0},  // the fraction is dropped
      {2.0, -1.5, 0.5}, // -1.5 counts as -1
      {2.0, 2.9, 4.0},
      {2.0, -0.5, 1.0},
      {10.0, 3.0, 1000.0},
      {-2.0, 3.0, -8.0},
      {-2.0, -3.0, -0.125},
      {0.0, -1.0, infinity},
      {0.0, 0.0, 1.0},
      {0.0, 3.0, 0.0},
      {nan, 0.0, 1.0}, // the loop never touches the base
      {2.0, 1023.0, 8.98846567431158e307},
      {2.0, 1024.0, infinity},
      {2.0, -1074.0, 0.0}, // 1 / 2^1074 overflows the power first: 1 / inf
      {infinity, -2.0, 0.0},
      {-1.0, -9223372036854775807.0, 1.0}, // -2^63 + 1 rounds to -2^63 as a double
  };
  for (const auto &c : cases)
    EXPECT_EQ(rt_fpow(c.base, c.exponent), c.result) << c.base << "^" << c.exponent;
}

// The loop's order of multiplications, not a library power function: 1.1^n by square and
// multiply over the exponent's bits, lowest first.
TEST(Fpow, UsesSquareAndMultiplyInThatOrder) {
  for (int64_t n : {1, 3, 7, 13, 100, 1001}) {
    double result = 1.0, base = 1.1;
    for (uint64_t e = static_cast<uint64_t>(n); e != 0; e >>= 1) {
      if (e & 1u)
        result *= base;
      base *= base;
    }
    EXPECT_EQ(rt_fpow(1.1, static_cast<double>(n)), result) << n;
    EXPECT_EQ(rt_fpow(1.1, -static_cast<double>(n)), 1.0 / result) << n;
  }
}

TEST(Fpow, NaNExponentGivesNaN) {
  for (double base : {0.0, 1.0, -1.0, 2.0, 0.5, infinity, nan})
    EXPECT_TRUE(std::isnan(rt_fpow(base, nan))) << base;
}

// Exponents at or beyond 2^63 in size: the limit of the loop, by the base's magnitude.
TEST(Fpow, ExponentsBeyondTheIntegerRange) {
  const double huge[] = {9223372036854775808.0, 1e19, 1e300, infinity};
  const struct {
    double base, positive, negative;
  } cases[] = {
      {2.0, infinity, 0.0},  {-2.0, infinity, 0.0}, {infinity, infinity, 0.0},
      {1.0, 1.0, 1.0},       {-1.0, 1.0, 1.0},      {0.5, 0.0, infinity},
      {-0.5, 0.0, infinity}, {0.0, 0.0, infinity},  {-0.0, 0.0, infinity},
  };
  for (double exponent : huge) {
    for (const auto &c : cases) {
      EXPECT_EQ(rt_fpow(c.base, exponent), c.positive) << c.base << "^" << exponent;
      EXPECT_EQ(rt_fpow(c.base, -exponent), c.negative) << c.base << "^-" << exponent;
    }
    EXPECT_TRUE(std::isnan(rt_fpow(nan, exponent)));
    EXPECT_TRUE(std::isnan(rt_fpow(nan, -exponent)));
  }
  // -2^63 itself is still in range: an even exponent handled by the loop.
  EXPECT_EQ(rt_fpow(-1.0, -9223372036854775808.0), 1.0);
  EXPECT_EQ(rt_fpow(2.0, -9223372036854775808.0), 0.0);
  EXPECT_EQ(rt_fpow(0.5, -9223372036854775808.0), infinity);
}

TEST(Abs, Table) {
  const int64_t cases[][2] = {{-5, 5},
                              {5, 5},
                              {0, 0},
                              {-1, 1},
                              {INT64_MAX, INT64_MAX},
                              {-INT64_MAX, INT64_MAX},
                              {INT64_MIN, INT64_MIN}};
  for (const auto &c : cases)
    EXPECT_EQ(rt_abs(c[0]), c[1]) << c[0];
}

TEST(MinMax, SignedComparisons) {
  const int64_t cases[][4] = {
      // a, b, min, max
      {-1, 1, -1, 1},
      {1, -1, -1, 1},
      {3, 3, 3, 3},
      {INT64_MIN, INT64_MAX, INT64_MIN, INT64_MAX},
      {INT64_MAX, -1, -1, INT64_MAX},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(rt_min(c[0], c[1]), c[2]) << c[0] << " " << c[1];
    EXPECT_EQ(rt_max(c[0], c[1]), c[3]) << c[0] << " " << c[1];
  }
}

TEST(Clamp, Table) {
  const int64_t cases[][4] = {
      // value, lower, upper, result
      {5, 0, 10, 5},
      {-3, 0, 10, 0},
      {12, 0, 10, 10},
      {10, 0, 10, 10},
      {0, 0, 10, 0},
      {-1, 0, INT64_MAX, 0}, // signed: -1 is below 0
      {INT64_MIN, -5, 5, -5},
      {INT64_MAX, -5, 5, 5},
      {5, 10, 0, 0}, // crossed limits: the upper one
                     // wins
      {-3, 10, 0, 0},
      {20, 10, 0, 0},
  };
  for (const auto &c : cases)
    EXPECT_EQ(rt_clamp(c[0], c[1], c[2]), c[3]) << c[0] << " " << c[1] << " " << c[2];
}

} // namespace
