// SPDX-License-Identifier: MIT
#include "extended.h"

#include <bit>
#include <limits>
#include <utility>

namespace navdump {
namespace {

constexpr int kBias = 16383;
constexpr std::uint16_t kSignBit = 0x8000;
constexpr std::uint16_t kMaxExponent = 0x7fff;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
constexpr std::uint64_t kDoubleFraction = (std::uint64_t{1} << 52) - 1;

// ---- Two-word unsigned integers: the exact intermediate results, in
// portable 64-bit arithmetic so that every host runs the same code.

struct Wide {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
};

// a * b, exactly.
Wide multiply(std::uint64_t a, std::uint64_t b) {
  const std::uint64_t a_lo = a & 0xffffffffU, a_hi = a >> 32;
  const std::uint64_t b_lo = b & 0xffffffffU, b_hi = b >> 32;
  const std::uint64_t lo_lo = a_lo * b_lo, hi_lo = a_hi * b_lo;
  const std::uint64_t lo_hi = a_lo * b_hi, hi_hi = a_hi * b_hi;
  const std::uint64_t middle = (lo_lo >> 32) + (hi_lo & 0xffffffffU) + lo_hi;
  return {hi_hi + (hi_lo >> 32) + (middle >> 32), (middle << 32) | (lo_lo & 0xffffffffU)};
}

// Divides high * 2^64 by divisor, where high < divisor: the quotient, with
// the remainder left in high.
std::uint64_t divide_shifted(std::uint64_t& high, std::uint64_t divisor) {
  std::uint64_t quotient = 0;
  for (int bit = 0; bit < 64; ++bit) {
    const bool carry = (high >> 63) != 0;
    high <<= 1;
    quotient <<= 1;
    if (carry || high >= divisor) {
      high -= divisor;
      quotient |= 1;
    }
  }
  return quotient;
}

Wide add(Wide a, Wide b) {
  const std::uint64_t low = a.low + b.low;
  return {a.high + b.high + (low < a.low ? 1U : 0U), low};
}

Wide subtract(Wide a, Wide b) {
  return {a.high - b.high - (a.low < b.low ? 1U : 0U), a.low - b.low};
}

bool less(Wide a, Wide b) { return a.high < b.high || (a.high == b.high && a.low < b.low); }

int leading_zeros(Wide w) {
  return w.high != 0 ? std::countl_zero(w.high) : 64 + std::countl_zero(w.low);
}

Wide shift_left(Wide w, int n) {
  if (n == 0) return w;
  if (n >= 64) return {w.low << (n - 64), 0};
  return {(w.high << n) | (w.low >> (64 - n)), w.low << n};
}

// Shifts right by n, folding every bit shifted out into bit 0 ("sticky"),
// which is all that rounding needs to know about them.
Wide shift_right_sticky(Wide w, int n) {
  if (n == 0) return w;
  if (n >= 128) return {0, (w.high | w.low) != 0 ? 1U : 0U};
  Wide out;
  std::uint64_t lost = 0;
  if (n >= 64) {
    lost = w.low | (n > 64 ? w.high << (128 - n) : 0);
    out = {0, w.high >> (n - 64)};
  } else {
    lost = w.low << (64 - n);
    out = {w.high >> n, (w.low >> n) | (w.high << (64 - n))};
  }
  out.low |= lost != 0 ? 1U : 0U;
  return out;
}

// ---- Unpacked finite values: value = significand * 2^(exponent - 63).

struct Unpacked {
  bool negative = false;
  std::int32_t exponent = 0;      // of the integer bit
  std::uint64_t significand = 0;  // integer bit at 63; zero for a zero
};

bool is_nan(Extended x) {
  return (x.sign_exponent() & kMaxExponent) == kMaxExponent && (x.significand() << 1) != 0;
}
bool is_infinite(Extended x) {
  return (x.sign_exponent() & kMaxExponent) == kMaxExponent && (x.significand() << 1) == 0;
}
bool is_zero(Extended x) { return x.significand() == 0; }
bool is_negative(Extended x) { return (x.sign_exponent() & kSignBit) != 0; }

Unpacked unpack(Extended x) {
  return {is_negative(x), (x.sign_exponent() & kMaxExponent) - kBias, x.significand()};
}

std::uint16_t sign_of(bool negative) { return negative ? kSignBit : 0; }

Extended infinity(bool negative) {
  return Extended::from_bits(sign_of(negative) | kMaxExponent, kIntegerBit);
}
Extended zero(bool negative) { return Extended::from_bits(sign_of(negative), 0); }
Extended default_nan() { return Extended::from_bits(kSignBit | kMaxExponent, kIntegerBit | kQuietBit); }
Extended quiet(Extended x) { return Extended::from_bits(x.sign_exponent(), x.significand() | kQuietBit); }

// The NaN an operation passes on: the one with the larger significand (so a
// quiet one before a signalling one), else the positive one.
Extended propagate_nan(Extended a, Extended b) {
  if (!is_nan(b)) return quiet(a);
  if (!is_nan(a)) return quiet(b);
  if (a.significand() != b.significand()) {
    return quiet(a.significand() > b.significand() ? a : b);
  }
  return quiet(is_negative(a) ? b : a);
}

// Rounds value = w * 2^(exponent - 127) to the format, to nearest even.
// Bit 0 of w may stand for any nonzero bits below it.
Extended round_to_extended(bool negative, std::int32_t exponent, Wide w) {
  const int shift = leading_zeros(w);
  w = shift_left(w, shift);
  std::int32_t biased = exponent - shift + kBias;
  std::uint64_t significand = w.high;
  const std::uint64_t half = kIntegerBit;
  if (w.low > half || (w.low == half && (significand & 1) != 0)) {
    ++significand;
    if (significand == 0) {  // carried out of the top bit
      significand = kIntegerBit;
      ++biased;
    }
  }
  return Extended::from_bits(sign_of(negative) | static_cast<std::uint16_t>(biased),
                             significand);
}

// The double with these bits, exactly; a NaN keeps its payload and, unless
// quieten is set, its signalling state.
Extended from_double_bits(std::uint64_t bits, bool quieten) {
  const std::uint16_t sign = sign_of((bits >> 63) != 0);
  const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & kDoubleFraction;
  if (biased == 0x7ff) {
    return Extended::from_bits(sign | kMaxExponent,
                               kIntegerBit | (fraction != 0 && quieten ? kQuietBit : 0) |
                                   (fraction << 11));
  }
  if (biased == 0 && fraction == 0) return Extended::from_bits(sign, 0);
  // A double subnormal has the exponent of biased 1 and no integer bit;
  // its 52 bits or fewer fit the significand once shifted to the top.
  const std::uint64_t significand = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int shift = std::countl_zero(significand);
  const int exponent = (biased == 0 ? 1 : biased) - 1023 + 11 - shift;
  return Extended::from_bits(sign | static_cast<std::uint16_t>(exponent + kBias),
                             significand << shift);
}

}  // namespace

// ---- Conversions

Extended::Extended(double value)
    : Extended(from_double_bits(std::bit_cast<std::uint64_t>(value), true)) {}

double Extended::to_double() const {
  const bool negative = is_negative(*this);
  const std::uint64_t sign = negative ? std::uint64_t{1} << 63 : 0;
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  if (is_nan(*this)) {
    const std::uint64_t payload = ((significand_ >> 11) & kDoubleFraction) | (std::uint64_t{1} << 51);
    return std::bit_cast<double>(sign | (std::uint64_t{0x7ff} << 52) | payload);
  }
  if (is_infinite(*this)) return negative ? -kInfinity : kInfinity;
  const Unpacked u = unpack(*this);
  if (u.significand == 0) return negative ? -0.0 : 0.0;
  const std::int32_t biased = u.exponent + 1023;
  if (biased >= 0x7ff) return negative ? -kInfinity : kInfinity;
  // Keep 53 bits, fewer for a double subnormal (never fewer than one: the
  // smallest value the listing forms is the smallest double subnormal); the
  // integer bit, carried into the exponent field by the addition below,
  // makes the encoding come out right for subnormals and for a round-up to
  // the next binade or to infinity.
  const int shift = 11 + (biased < 1 ? 1 - biased : 0);
  const std::uint64_t kept = u.significand >> shift;
  const std::uint64_t rest = u.significand & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  const std::uint64_t rounded = kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
  const std::uint64_t exponent_field = biased < 1 ? 0 : static_cast<std::uint64_t>(biased - 1);
  return std::bit_cast<double>(sign | ((exponent_field << 52) + rounded));
}

std::int32_t Extended::truncate_to_int32() const {
  const Unpacked u = unpack(*this);
  if (u.significand == 0 || u.exponent < 0) return 0;
  const auto magnitude = static_cast<std::int32_t>(u.significand >> (63 - u.exponent));
  return u.negative ? -magnitude : magnitude;
}

// ---- Arithmetic

Extended operator*(Extended a, Extended b) {
  if (is_nan(a)) return quiet(a);
  const bool negative = is_negative(a) != is_negative(b);
  if (is_infinite(a)) return infinity(negative);
  if (is_zero(a)) return zero(negative);
  const Unpacked x = unpack(a), y = unpack(b);
  // The product of two significands in [2^63, 2^64) has its leading bit at
  // 127 or 126.
  return round_to_extended(negative, x.exponent + y.exponent + 1,
                           multiply(x.significand, y.significand));
}

Extended operator/(Extended a, Extended b) {
  const bool negative = is_negative(a) != is_negative(b);
  const Unpacked x = unpack(a), y = unpack(b);
  if (x.significand == 0) return zero(negative);
  // Long division in two 64-bit steps: an integer digit (0 or 1), then 128
  // fraction bits, then the remainder as the sticky bit.
  const bool integer_digit = x.significand >= y.significand;
  std::uint64_t remainder = x.significand - (integer_digit ? y.significand : 0);
  const std::uint64_t first = divide_shifted(remainder, y.significand);
  const std::uint64_t second = divide_shifted(remainder, y.significand);
  const std::uint64_t sticky = remainder != 0 ? 1 : 0;
  std::int32_t exponent = x.exponent - y.exponent;
  Wide quotient{first, second | sticky};
  if (integer_digit) {
    quotient = shift_right_sticky(quotient, 1);
    quotient.high |= kIntegerBit;
  } else {
    exponent -= 1;
  }
  return round_to_extended(negative, exponent, quotient);
}

Extended operator+(Extended a, Extended b) {
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  if (is_infinite(a) || is_infinite(b)) {
    if (is_infinite(a) && is_infinite(b) && is_negative(a) != is_negative(b)) {
      return default_nan();
    }
    return is_infinite(a) ? a : b;
  }
  if (is_zero(a) && is_zero(b)) return zero(is_negative(a) && is_negative(b));
  if (is_zero(b)) return a;
  if (is_zero(a)) return b;
  Unpacked x = unpack(a), y = unpack(b);
  if (x.exponent < y.exponent ||
      (x.exponent == y.exponent && x.significand < y.significand)) {
    std::swap(x, y);
  }
  const Wide larger{x.significand, 0};
  const Wide smaller = shift_right_sticky(Wide{y.significand, 0}, x.exponent - y.exponent);
  if (x.negative == y.negative) {
    Wide sum = add(larger, smaller);
    if (less(sum, larger)) {  // carried out of bit 127
      sum = shift_right_sticky(sum, 1);
      sum.high |= kIntegerBit;
      return round_to_extended(x.negative, x.exponent + 1, sum);
    }
    return round_to_extended(x.negative, x.exponent, sum);
  }
  // An exact cancellation gives +0 when rounding to nearest.
  const Wide difference = subtract(larger, smaller);
  if (difference.high == 0 && difference.low == 0) return zero(false);
  return round_to_extended(x.negative, x.exponent, difference);
}

Extended operator-(Extended a, Extended b) {
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  return a + Extended::from_bits(b.sign_exponent() ^ kSignBit, b.significand());
}

Extended subtract_double(Extended a, std::uint64_t b_bits) {
  return a - from_double_bits(b_bits, false);
}

}  // namespace navdump
