// The two integer conversions the figures use: round half to even, and div toward zero.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace rv {

// Nearest integer, halves to the even neighbour: 2.5 -> 2, 3.5 -> 4, -2.5 -> -2.
// Saturates at the 32-bit range instead of overflowing.
inline int RoundHalfEven(long double v) {
  if (std::isnan(v)) return 0;
  long double r = std::nearbyintl(v);  // default rounding mode is to nearest, ties to even
  if (r >= 2147483647.0L) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0L) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

// round(v * f) on the exact integer v, with the factor held to a 64-bit mantissa.
inline int RoundMul(std::int64_t v, long double f) { return RoundHalfEven(static_cast<long double>(v) * f); }

// round(v / d).
inline int RoundDiv(std::int64_t v, long double d) { return RoundHalfEven(static_cast<long double>(v) / d); }

// Integer division truncated toward zero; INT_MIN div -1 saturates instead of trapping.
inline int DivTrunc(int a, int b) {
  if (b == 0) return 0;
  if (b == -1 && a == std::numeric_limits<int>::min()) return std::numeric_limits<int>::max();
  return a / b;
}

// 32-bit wrap-around arithmetic without signed-overflow undefined behaviour.
inline int WrapAdd(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline int WrapSub(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline int WrapMul(int a, int b) {
  return static_cast<int>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

}  // namespace rv
