// SPDX-License-Identifier: MIT
// A seeded generator that gives the same sequence on every host, drawing
// doubles from the classes where rounding goes wrong (ties, carries, the
// ends of the range, subnormals, NaNs): for the written test files and the
// differential tests.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include "listing.h"

namespace tools {

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

  // A double in [0, 1) from 53 raw bits, the same on every library.
  double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }

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
      case 8: return special();
      default:  // a signalling NaN, which only a double can hold unquietened
        return std::bit_cast<double>(std::uint64_t{0x7ff} << 52 | (next() >> 13) | 1 |
                                     (coin() ? std::uint64_t{1} << 63 : 0));
    }
  }

  // Times near the boundaries of days, hours, minutes, seconds, hundredths
  // and half hundredths, below 16 s, and near the end of the day count.
  double time() {
    const double units[] = {86400.0, 3600.0, 60.0, 1.0, 0.01, 0.005, navdump::kBreakdownLimit};
    double t = 0.0;
    switch (below(4)) {
      case 0: t = static_cast<double>(next() >> 11) * 0x1p-49; break;  // below 16 s
      case 1: t = static_cast<double>(next() >> 11) * 0x1p-53 * 2.2e9; break;
      default: {
        const double u = units[below(std::size(units))];
        t = u * static_cast<double>(u > 1e9 ? 1 : below(u >= 60.0 ? 25000 : 6000));
        t = steps_away(t, between(-4, 4));
        break;
      }
    }
    return signed_(t);
  }

 private:
  double signed_(double v) { return coin() ? -v : v; }
  static double steps_away(double v, int steps) {
    const double inf = std::numeric_limits<double>::infinity();
    for (; steps > 0; --steps) v = std::nextafter(v, inf);
    for (; steps < 0; ++steps) v = std::nextafter(v, -inf);
    return v;
  }
  // Zeros, subnormals, infinities and quiet NaNs with any payload, of
  // either sign.
  double special() {
    const std::uint64_t sign = coin() ? std::uint64_t{1} << 63 : 0;
    switch (below(4)) {
      case 0: return std::bit_cast<double>(sign);
      case 1: return std::bit_cast<double>(sign | next() >> (12 + below(52)));
      case 2: return std::bit_cast<double>(sign | std::uint64_t{0x7ff} << 52);
      default: return std::bit_cast<double>(sign | std::uint64_t{0xfff} << 51 | next() >> 13);
    }
  }

  std::uint64_t state_;
};

}  // namespace tools
