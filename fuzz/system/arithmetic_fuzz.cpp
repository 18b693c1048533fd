// Arithmetic routines on arbitrary inputs: no undefined behaviour (the build runs
// UndefinedBehaviorSanitizer, float-cast-overflow included) and agreement with plain
// references written another way.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "rtlib.h"

namespace {

template <typename T> T take(const uint8_t *&data, size_t &size) {
  T value{};
  const size_t n = size < sizeof value ? size : sizeof value;
  memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

void check(bool ok) {
  if (!ok)
    abort();
}

// Repeated multiplication modulo 2^64.
uint64_t slow_power(uint64_t base, uint64_t exponent) {
  uint64_t result = 1;
  for (uint64_t i = 0; i < exponent; ++i)
    result *= base;
  return result;
}

bool same(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const int64_t a = take<int64_t>(data, size);
  const int64_t b = take<int64_t>(data, size);
  const int64_t c = take<int64_t>(data, size);
  const double x = take<double>(data, size);
  const double y = take<double>(data, size);

  // rt_ipow: 0 for negative exponents, repeated multiplication for small ones, and
  // base^e == (base^(e/2))^2 * base^(e%2) modulo 2^64 for every exponent.
  const int64_t p = rt_ipow(a, b);
  if (b < 0) {
    check(p == 0);
  } else {
    const uint64_t half = static_cast<uint64_t>(rt_ipow(a, b / 2));
    const uint64_t odd = (b & 1) != 0 ? static_cast<uint64_t>(a) : 1u;
    check(static_cast<uint64_t>(p) == half * half * odd);
  }
  const uint64_t small = static_cast<uint64_t>(c) % 300;
  check(static_cast<uint64_t>(rt_ipow(a, static_cast<int64_t>(small))) ==
        slow_power(static_cast<uint64_t>(a), small));

  // rt_fpow: any inputs; the fraction of the exponent does not count.
  const double f = rt_fpow(x, y);
  if (std::isnan(y)) {
    check(std::isnan(f));
  } else if (std::fabs(y) < 9223372036854775808.0) {
    check(same(f, rt_fpow(x, std::trunc(y))));
    const double n = std::trunc(y);
    if (n >= 0 && n < 64) {
      double expected = 1.0, base = x;
      for (uint64_t e = static_cast<uint64_t>(n); e != 0; e >>= 1) {
        if (e & 1u)
          expected *= base;
        base *= base;
      }
      check(same(f, expected));
    }
  } else if (!std::isnan(x)) {
    const double m = std::fabs(x);
    const bool up = (m > 1) == (y > 0);
    check(f == (m == 1 ? 1.0 : up ? HUGE_VAL : 0.0));
  }

  // Absolute value, minimum, maximum and bounding against wide references.
  const __int128 wide_abs = a < 0 ? -static_cast<__int128>(a) : a;
  check(rt_abs(a) == (a == INT64_MIN ? INT64_MIN : static_cast<int64_t>(wide_abs)));
  check(rt_min(a, b) == (a <= b ? a : b) && rt_max(a, b) == (a >= b ? a : b));
  check(rt_min(a, b) <= rt_max(a, b));
  const int64_t bounded = rt_clamp(a, b, c);
  if (b <= c)
    check(bounded >= b && bounded <= c && (bounded == a || bounded == b || bounded == c));
  else
    check(bounded == (a < b ? (b > c ? c : b) : (a > c ? c : a)));
  return 0;
}
