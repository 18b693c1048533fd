#include "platform.h"

// Integer routines work on signed 64-bit values and wrap modulo 2^64; the wrapping is done in
// unsigned arithmetic so that no input is undefined. None of them reports an error.

namespace {
// Square-and-multiply over the bits of the exponent, lowest first.
template <typename T> T power_loop(T base, uint64_t exponent, T one) {
  T result = one;
  while (exponent != 0) {
    if ((exponent & 1u) != 0)
      result = result * base;
    base = base * base;
    exponent >>= 1;
  }
  return result;
}

constexpr double two_to_63 = 9223372036854775808.0;

// What the loop tends to for an exponent beyond the 64-bit range: such exponents are even
// integers, so only the base's magnitude matters.
double power_beyond_range(double base, bool positive) {
  const double magnitude = base < 0 ? -base : base;
  const double infinity = __builtin_huge_val();
  if (magnitude != magnitude)
    return base; // NaN stays NaN
  if (magnitude == 1.0)
    return 1.0;
  if (magnitude > 1.0)
    return positive ? infinity : 0.0;
  return positive ? 0.0 : infinity;
}
} // namespace

// A negative exponent gives 0 whatever the base; products keep their low 64 bits.
extern "C" RT_LEAF int64_t rt_ipow(int64_t base, int64_t exponent) {
  if (exponent < 0)
    return 0;
  return static_cast<int64_t>(
      power_loop<uint64_t>(static_cast<uint64_t>(base), static_cast<uint64_t>(exponent), 1u));
}

// The exponent is truncated toward zero to a 64-bit integer n; base^n comes from the same
// loop in double precision, and a negative n gives 1.0 divided by base^-n. A NaN exponent
// gives NaN; an exponent outside the 64-bit range gives the loop's limit: 0, 1 or infinity by
// the base's magnitude.
extern "C" double rt_fpow(double base, double exponent) {
  if (exponent != exponent)
    return exponent;
  if (exponent >= two_to_63 || exponent < -two_to_63)
    return power_beyond_range(base, exponent > 0);
  const int64_t n = static_cast<int64_t>(exponent);
  const uint64_t magnitude = n >= 0 ? static_cast<uint64_t>(n) : 0u - static_cast<uint64_t>(n);
  const double power = power_loop<double>(base, magnitude, 1.0);
  return n >= 0 ? power : 1.0 / power;
}

// The smallest value has no positive counterpart and comes back unchanged.
extern "C" RT_LEAF int64_t rt_abs(int64_t value) {
  if (value >= 0)
    return value;
  return static_cast<int64_t>(0u - static_cast<uint64_t>(value));
}

extern "C" RT_LEAF int64_t rt_min(int64_t a, int64_t b) {
  return a <= b ? a : b;
}

extern "C" RT_LEAF int64_t rt_max(int64_t a, int64_t b) {
  return a >= b ? a : b;
}

// The upper limit is tested last, against what the lower test left, so it wins whenever the
// limits are crossed.
extern "C" RT_LEAF int64_t rt_clamp(int64_t value, int64_t lower, int64_t upper) {
  int64_t result = value;
  if (result < lower)
    result = lower;
  if (result > upper)
    result = upper;
  return result;
}
