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
  std::int32_t exponent = 0;    // of the leading bit
  std::uint64_t significand = 0;  // leading bit at 63; zero for a zero
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
  Unpacked u;
  u.negative = is_negative(x);
  u.significand = x.significand();
  if (u.significand == 0) return u;
  const int biased = x.sign_exponent() & kMaxExponent;
  // A subnormal has the exponent of biased 1; normalise it.
  const int shift = std::countl_zero(u.significand);
  u.significand <<= shift;
  u.exponent = (biased == 0 ? 1 : biased) - kBias - shift;
  return u;
}

std::uint16_t sign_of(bool negative) { return negative ? kSignBit : 0; }

Extended infinity(bool negative) {
  return Extended::from_bits(sign_of(negative) | kMaxExponent, kIntegerBit);
}
Extended zero(bool negative) { return Extended::from_bits(sign_of(negative), 0); }
Extended default_nan() { return Extended::from_bits(kSignBit | kMaxExponent, kIntegerBit | kQuietBit); }

// The NaN an operation passes on: a quiet one before a signalling one, else
// the larger significand, else the positive one.
Extended propagate_nan(Extended a, Extended b) {
  const auto quiet = [](Extended x) {
    return Extended::from_bits(x.sign_exponent(), x.significand() | kQuietBit);
  };
  if (!is_nan(b)) return quiet(a);
  if (!is_nan(a)) return quiet(b);
  const bool a_quiet = (a.significand() & kQuietBit) != 0;
  const bool b_quiet = (b.significand() & kQuietBit) != 0;
  if (a_quiet != b_quiet) return a_quiet ? a : b;
  if (a.significand() != b.significand()) {
    return quiet(a.significand() > b.significand() ? a : b);
  }
  return quiet(is_negative(a) ? b : a);
}

// Rounds value = w * 2^(exponent - 127) to the format, to nearest even.
// Bit 0 of w may stand for any nonzero bits below it.
Extended round_to_extended(bool negative, std::int32_t exponent, Wide w) {
  if (w.high == 0 && w.low == 0) return zero(negative);
  const int shift = leading_zeros(w);
  w = shift_left(w, shift);
  std::int32_t biased = exponent - shift + kBias;
  if (biased < 1) {  // subnormal: fewer significant bits
    w = shift_right_sticky(w, 1 - biased);
    biased = 0;
  }
  std::uint64_t significand = w.high;
  const std::uint64_t half = kIntegerBit;
  if (w.low > half || (w.low == half && (significand & 1) != 0)) {
    ++significand;
    if (significand == 0) {  // carried out of the top bit
      significand = kIntegerBit;
      ++biased;
    }
  }
  if (biased == 0 && (significand & kIntegerBit) != 0) biased = 1;  // rounded up to normal
  if (biased >= kMaxExponent) return infinity(negative);
  return Extended::from_bits(sign_of(negative) | static_cast<std::uint16_t>(biased),
                             significand);
}

// Rounds significand / 2^shift to an integer, to nearest even.
std::uint64_t round_shift_right(std::uint64_t significand, int shift) {
  if (shift == 0) return significand;
  if (shift > 64) return 0;  // below half the least step
  const std::uint64_t kept = shift == 64 ? 0 : significand >> shift;
  const std::uint64_t rest = shift == 64 ? significand : significand & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  return kept + ((rest > half || (rest == half && (kept & 1) != 0)) ? 1 : 0);
}

}  // namespace

// ---- Conversions

Extended::Extended(double value) : sign_exponent_(0), significand_(0) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const bool negative = (bits >> 63) != 0;
  const auto biased = static_cast<int>((bits >> 52) & 0x7ff);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7ff) {
    *this = fraction == 0 ? infinity(negative)
                          : from_bits(sign_of(negative) | kMaxExponent,
                                      kIntegerBit | kQuietBit | (fraction << 11));
    return;
  }
  if (biased == 0 && fraction == 0) {
    *this = zero(negative);
    return;
  }
  // A double subnormal has the exponent of biased 1 and no integer bit.
  const std::uint64_t significand = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  // value = significand * 2^(exponent - 52) = Wide{significand, 0} * 2^(exponent - 116)
  const std::int32_t exponent = (biased == 0 ? 1 : biased) - 1023;
  *this = round_to_extended(negative, exponent + 11, Wide{significand, 0});
}

double Extended::to_double() const {
  const bool negative = is_negative(*this);
  const std::uint64_t sign = negative ? std::uint64_t{1} << 63 : 0;
  if (is_nan(*this)) {
    const std::uint64_t payload =
        ((significand_ >> 11) & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 51);
    return std::bit_cast<double>(sign | (std::uint64_t{0x7ff} << 52) | payload);
  }
  if (is_infinite(*this)) return negative ? -std::numeric_limits<double>::infinity()
                                          : std::numeric_limits<double>::infinity();
  const Unpacked u = unpack(*this);
  if (u.significand == 0) return negative ? -0.0 : 0.0;
  // Keep 53 bits, fewer for a double subnormal; the hidden bit, carried into
  // the exponent field by the addition below, makes the encoding come out
  // right for subnormals, for a round-up to the next binade and to infinity.
  const std::int32_t biased = u.exponent + 1023;
  if (biased >= 0x7ff) return negative ? -std::numeric_limits<double>::infinity()
                                       : std::numeric_limits<double>::infinity();
  const int shift = 11 + (biased < 1 ? 1 - biased : 0);
  const std::uint64_t kept = round_shift_right(u.significand, shift);
  const std::uint64_t exponent_field = biased < 1 ? 0 : static_cast<std::uint64_t>(biased - 1);
  return std::bit_cast<double>(sign | ((exponent_field << 52) + kept));
}

std::int32_t Extended::truncate_to_int32() const {
  constexpr std::int32_t kIndefinite = std::numeric_limits<std::int32_t>::min();
  if (is_nan(*this) || is_infinite(*this)) return kIndefinite;
  const Unpacked u = unpack(*this);
  if (u.significand == 0 || u.exponent < 0) return 0;
  if (u.exponent >= 31) return kIndefinite;  // also -2^31 itself, which is the same bits
  const auto magnitude = static_cast<std::int32_t>(u.significand >> (63 - u.exponent));
  return u.negative ? -magnitude : magnitude;
}

// ---- Arithmetic

Extended operator*(Extended a, Extended b) {
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  const bool negative = is_negative(a) != is_negative(b);
  if (is_infinite(a) || is_infinite(b)) {
    return is_zero(a) || is_zero(b) ? default_nan() : infinity(negative);
  }
  const Unpacked x = unpack(a), y = unpack(b);
  if (x.significand == 0 || y.significand == 0) return zero(negative);
  // The product of two significands in [2^63, 2^64) has its leading bit at
  // 127 or 126.
  return round_to_extended(negative, x.exponent + y.exponent + 1,
                           multiply(x.significand, y.significand));
}

Extended operator/(Extended a, Extended b) {
  if (is_nan(a) || is_nan(b)) return propagate_nan(a, b);
  const bool negative = is_negative(a) != is_negative(b);
  if (is_infinite(a)) return is_infinite(b) ? default_nan() : infinity(negative);
  if (is_infinite(b)) return zero(negative);
  if (is_zero(b)) return is_zero(a) ? default_nan() : infinity(negative);
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

Extended subtract_double(Extended a, double b) {
  const auto bits = std::bit_cast<std::uint64_t>(b);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const bool signalling = ((bits >> 52) & 0x7ff) == 0x7ff && fraction != 0 &&
                          (fraction >> 51) == 0;
  if (!signalling) return a - Extended(b);
  return a - Extended::from_bits(sign_of((bits >> 63) != 0) | kMaxExponent,
                                 kIntegerBit | (fraction << 11));
}

}  // namespace navdump
