// SPDX-License-Identifier: MIT
// The hardware reference for navdump::Extended, for the differential test
// and fuzz target: on hosts whose long double is the x87 80-bit format, each
// Extended operation must give the bits the unit gives. Also the time
// breakdown written directly in long double, as the reference for
// break_down_time.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "extended.h"
#include "listing.h"

namespace navdump::x87 {

inline constexpr bool kHostIsX87 = std::numeric_limits<long double>::digits == 64 &&
                                   std::numeric_limits<long double>::max_exponent == 16384;

// Bits between Extended and an x87 long double (little-endian: significand,
// then the sign-and-exponent half).
// Elsewhere long double may be too small to hold them: nothing is compared.
inline long double to_hardware(Extended x) {
  long double v = 0;
  if constexpr (sizeof(long double) >= 10) {
    const std::uint64_t significand = x.significand();
    const std::uint16_t sign_exponent = x.sign_exponent();
    std::memcpy(&v, &significand, 8);
    std::memcpy(reinterpret_cast<unsigned char*>(&v) + 8, &sign_exponent, 2);
  }
  return v;
}

inline bool same_bits(Extended x, long double v) {
  if constexpr (sizeof(long double) < 10) return false;
  std::uint64_t significand = 0;
  std::uint16_t sign_exponent = 0;
  std::memcpy(&significand, &v, 8);
  std::memcpy(&sign_exponent, reinterpret_cast<const unsigned char*>(&v) + 8, 2);
  return significand == x.significand() && sign_exponent == x.sign_exponent();
}

inline bool same_bits(double a, double b) {
  std::uint64_t x = 0, y = 0;
  std::memcpy(&x, &a, 8);
  std::memcpy(&y, &b, 8);
  return x == y;
}

// x - y with y as the subtrahend straight from memory, as navdump's
// elapsed time was formed.
inline long double subtract_double(long double x, double y) {
#if defined(__x86_64__) || defined(__i386__)
  asm("fsubl %1" : "+t"(x) : "m"(y));
  return x;
#else
  return x - y;
#endif
}

// Any 80 bits made a canonical encoding: the integer bit set exactly when
// the exponent is not zero (infinity and NaN included).
inline Extended canonical(std::uint16_t sign_exponent, std::uint64_t significand) {
  const std::uint64_t integer_bit = std::uint64_t{1} << 63;
  significand = (sign_exponent & 0x7fff) == 0 ? significand & ~integer_bit
                                              : significand | integer_bit;
  return Extended::from_bits(sign_exponent, significand);
}

inline GpsTimeParts break_down_time(double time) {
  const long double t = time;
  GpsTimeParts p;
  if (!std::isfinite(t) || std::fabs(t) >= 24856.0L * 86400.0L) return p;
  p.day = static_cast<std::int32_t>(t / 86400.0L);
  const long double s = t - static_cast<long double>(p.day * 86400);
  p.hour = static_cast<std::int32_t>(s) / 3600;
  const long double past_hour = s - static_cast<long double>(p.hour * 3600);
  p.minute = static_cast<std::int32_t>(past_hour) / 60;
  const long double past_minute = past_hour - static_cast<long double>(p.minute * 60);
  p.second = static_cast<std::int32_t>(past_minute);
  const long double fraction = past_minute - static_cast<long double>(p.second);
  p.hundredths = static_cast<std::int32_t>(fraction * 100.0L + 0.5L);
  return p;
}

inline bool same_parts(const GpsTimeParts& a, const GpsTimeParts& b) {
  return a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.second == b.second && a.hundredths == b.hundredths;
}

// Checks one operand pair: each operation, and the conversions of the
// operands and results. Returns the name of the first mismatch, or nullptr.
inline const char* check_operations(Extended a, Extended b) {
  const long double x = to_hardware(a), y = to_hardware(b);
  const Extended results[] = {a + b, a - b, a * b, a / b};
  const long double expected[] = {x + y, x - y, x * y, x / y};
  const char* names[] = {"+", "-", "*", "/"};
  for (int i = 0; i < 4; ++i) {
    if (!same_bits(results[i], expected[i])) return names[i];
    if (!same_bits(results[i].to_double(), static_cast<double>(expected[i]))) {
      return "to_double of a result";
    }
  }
  if (!same_bits(a.to_double(), static_cast<double>(x))) return "to_double";
  // The hardware conversion is only defined inside the int32 range.
  if (std::fabs(x) < 2147483648.0L && a.truncate_to_int32() != static_cast<std::int32_t>(x)) {
    return "truncate_to_int32";
  }
  return nullptr;
}

// Checks the exact conversion of a double (a signalling NaN is quietened).
inline bool converts_like_hardware(double d) {
  return same_bits(Extended(d), static_cast<long double>(d));
}

}  // namespace navdump::x87
