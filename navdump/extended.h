// SPDX-License-Identifier: MIT
// Extended: the 80-bit extended floating-point format of the x87 unit,
// computed with integer arithmetic so that every host gives the same bits.
//
// A value is a sign, a 15-bit biased exponent (bias 16383; 0 for zero,
// 0x7fff for infinity and NaN) and a 64-bit significand whose top bit is the
// integer bit, stored explicitly. Each operation rounds its exact result once
// to 64 significant bits, to nearest with ties to even, as the x87 unit does
// at 64-bit precision control; a value is rounded to double only when
// converted to one. NaNs follow the x87 rules: an operand NaN is passed on,
// quietened, and inf - inf gives the unit's default NaN, which is negative.
//
// Only what the listing computes is here. Its values come from doubles and
// stay far inside the format's range, so no result is an extended subnormal
// or overflows the format.
#pragma once

#include <cstdint>

namespace navdump {

class Extended {
 public:
  // The value with the given sign-and-exponent half and significand, whose
  // integer bit is set.
  static constexpr Extended from_bits(std::uint16_t sign_exponent,
                                      std::uint64_t significand) {
    return Extended(sign_exponent, significand);
  }
  // Exact; a signalling NaN comes out quietened, with its payload.
  explicit Extended(double value);

  std::uint16_t sign_exponent() const { return sign_exponent_; }
  std::uint64_t significand() const { return significand_; }

  // Rounded to nearest even, to double subnormals and infinities as needed;
  // a nonzero value must not be below the smallest double subnormal.
  double to_double() const;
  // Truncated toward zero; the value must be finite and below 2^31 in
  // magnitude.
  std::int32_t truncate_to_int32() const;

  // Arithmetic, each rounded once to the format. Multiplication expects a
  // finite nonzero operand on the right, division finite operands and a
  // nonzero divisor.
  friend Extended operator+(Extended a, Extended b);
  friend Extended operator-(Extended a, Extended b);
  friend Extended operator*(Extended a, Extended b);
  friend Extended operator/(Extended a, Extended b);

 private:
  constexpr Extended(std::uint16_t sign_exponent, std::uint64_t significand)
      : sign_exponent_(sign_exponent), significand_(significand) {}

  std::uint16_t sign_exponent_;
  std::uint64_t significand_;
};

// a - b for the double whose bits are b_bits, read as the x87 unit reads a
// double operand from memory: a signalling NaN in b is not quietened first,
// so that a NaN in a takes precedence over it.
Extended subtract_double(Extended a, std::uint64_t b_bits);

}  // namespace navdump
