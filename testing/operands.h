// SPDX-License-Identifier: MIT
// Operands for the differential tests: a seeded generator that gives the
// same sequence on every host, drawing values from the classes where
// rounding goes wrong (ties, carries, the ends of the range, subnormals,
// NaNs), and the operand count, NAVTOOLS_DIFF_OPERANDS.
#pragma once

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

#include "extended.h"
#include "sample_record.h"

namespace testing_support {

// NAVTOOLS_DIFF_OPERANDS as a plain decimal count, fallback when unset, or
// nothing when it is set to anything else ("1e8", "abc", "").
inline std::optional<std::uint64_t> operand_count(std::uint64_t fallback) {
  const char* text = std::getenv("NAVTOOLS_DIFF_OPERANDS");
  if (text == nullptr) return fallback;
  const std::string_view s(text);
  std::uint64_t count = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), count);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return count;
}

// splitmix64: fast, and the same sequence everywhere.
class Generator {
 public:
  explicit Generator(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15U);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9U;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebU;
    return z ^ (z >> 31);
  }
  std::uint64_t below(std::uint64_t n) { return next() % n; }
  bool coin() { return (next() & 1) != 0; }
  int between(int low, int high) {
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<int>(below(span));
  }

  // ---- 80-bit operands, as the x87 unit encodes them.

  // Any 80 bits made canonical: the integer bit set exactly when the
  // exponent is not zero (infinities and NaNs included).
  static navdump::Extended canonical(std::uint16_t sign_exponent, std::uint64_t significand) {
    const std::uint64_t integer_bit = std::uint64_t{1} << 63;
    significand = (sign_exponent & 0x7fff) == 0 ? significand & ~integer_bit
                                                : significand | integer_bit;
    return navdump::Extended::from_bits(sign_exponent, significand);
  }

  navdump::Extended extended() {
    switch (below(6)) {
      case 0: return canonical(static_cast<std::uint16_t>(next()), next());
      case 1: return canonical(sign() | biased(kBias - 40 + between(0, 79)), short_significand());
      case 2: return canonical(sign() | biased(kBias - 40 + between(0, 79)), near_power_of_two());
      case 3: return canonical(sign() | edge_exponent(), coin() ? next() : short_significand());
      case 4: return special();
      default: return navdump::Extended(value());
    }
  }

  // A second operand, often placed near the first so that sums align,
  // cancel or tie, and products and quotients reach the ends of the range.
  navdump::Extended partner(navdump::Extended a) {
    const int e = a.sign_exponent() & 0x7fff;
    int exponent = 0;
    switch (below(4)) {
      case 0: return extended();
      case 1: exponent = e + between(-70, 70); break;
      case 2: exponent = 2 * kBias - e + between(-5, 5); break;  // product near 1
      default: {  // near overflow, underflow or deep in the subnormals
        const int scales[] = {0x3fff, -0x3ffe, -0x3ffe - 64};
        const int scale = scales[below(3)] + between(-2, 2);
        exponent = coin() ? 2 * kBias - e + scale : e - scale;
        break;
      }
    }
    const std::uint64_t significand =
        coin() ? short_significand() : coin() ? next() : near_power_of_two();
    return canonical(sign() | biased(std::clamp(exponent, 0, 0x7ffe)), significand);
  }

  // ---- Doubles, as the record file holds them.

  // Any double, weighted toward the values that decide printed digits:
  // decimal ties and carries at the last printed digit (for 13, 14 and 15
  // decimals), every magnitude, signed zeros, subnormals, NaNs of both signs
  // and kinds, infinities, the largest doubles.
  double value() {
    switch (below(10)) {
      case 0: return std::bit_cast<double>(next());
      case 1: return signed_(static_cast<double>(below(1'000'000'000)) /
                             std::pow(10.0, static_cast<double>(below(10))));
      case 2: return signed_(std::ldexp(static_cast<double>(next() >> (11 + below(50))),
                                        between(-100, 100)));
      case 3: {  // odd multiples of 2^-(p+1): exact decimal ties, or a step off
        const std::uint64_t odd = ((next() >> 11) | 1U) >> below(53) | 1U;
        return steps_away(signed_(std::ldexp(static_cast<double>(odd), -between(14, 16))),
                          between(-1, 1));
      }
      case 4: {  // just around 10^j - 0.5*10^-p, where rounding adds a digit
        const double j = static_cast<double>(below(23));
        const double p = static_cast<double>(between(13, 15));
        return signed_(steps_away(std::pow(10.0, j) - 0.5 * std::pow(10.0, -p), between(-4, 4)));
      }
      case 5: return signed_((1.0 + 9.0 * unit()) * std::pow(10.0, between(-17, 30)));
      case 6: return signed_(std::ldexp(1.0 + unit(), between(900, 1023)));
      case 7: return time();
      case 8: return special().to_double();
      default:  // a signalling NaN, which only a double can hold unquietened
        return std::bit_cast<double>(std::uint64_t{0x7ff} << 52 | (next() >> 13) | 1 |
                                     (coin() ? std::uint64_t{1} << 63 : 0));
    }
  }

  // Times near the boundaries of days, hours, minutes, seconds and
  // hundredths, below 16 s, and near the end of the day count.
  double time() {
    const double units[] = {86400.0, 3600.0, 60.0, 1.0, 0.01, 2147558400.0};
    double t = 0.0;
    switch (below(4)) {
      case 0: t = static_cast<double>(next() >> 11) * 0x1p-49; break;  // below 16 s
      case 1: t = static_cast<double>(next() >> 11) * 0x1p-53 * 2.2e9; break;
      default: {
        const double u = units[below(6)];
        t = u * static_cast<double>(u > 1e9 ? 1 : below(u >= 60.0 ? 25000 : 6000));
        t = steps_away(t, between(-4, 4));
        break;
      }
    }
    return signed_(t);
  }

 private:
  static constexpr int kBias = 16383;

  std::uint16_t sign() { return coin() ? 0x8000 : 0; }
  static std::uint16_t biased(int e) { return static_cast<std::uint16_t>(e); }
  double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
  double signed_(double v) { return coin() ? -v : v; }
  static double steps_away(double v, int steps) {
    const double inf = std::numeric_limits<double>::infinity();
    for (; steps > 0; --steps) v = std::nextafter(v, inf);
    for (; steps < 0; ++steps) v = std::nextafter(v, -inf);
    return v;
  }
  // Significands with few bits set: exact sums and products land on ties.
  std::uint64_t short_significand() {
    const int width = between(1, 34);
    return (next() | std::uint64_t{1} << 63) >> (64 - width) << (64 - width);
  }
  std::uint64_t near_power_of_two() {
    const std::uint64_t step = next() >> between(40, 63);
    return coin() ? (std::uint64_t{1} << 63) + step : ~std::uint64_t{0} - step;
  }
  // Exponents at the ends of the range and at the double's limits.
  std::uint16_t edge_exponent() {
    const int centres[] = {1, 0x7ffe, kBias - 1022, kBias - 1074, kBias + 1023, kBias};
    return biased(std::clamp(centres[below(6)] + between(-65, 64), 1, 0x7ffe));
  }
  navdump::Extended special() {
    switch (below(5)) {
      case 0: return canonical(sign(), 0);                        // zero
      case 1: return canonical(sign(), next() >> below(64));      // subnormal
      case 2: return canonical(sign() | 0x7fff, 0);               // infinity
      case 3: return canonical(sign() | 0x7fff, next() | std::uint64_t{1} << 62);  // quiet NaN
      default: {  // signalling NaN, never with the payload of infinity
        const std::uint64_t payload = (next() >> below(63)) & ~(std::uint64_t{1} << 62);
        return canonical(sign() | 0x7fff, payload == 0 ? 1 : payload);
      }
    }
  }

  std::uint64_t state_;
};

}  // namespace testing_support
