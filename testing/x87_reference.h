// SPDX-License-Identifier: MIT
// The two differential checks, shared by the ctest loops and the fuzz
// target. On hosts whose long double is the x87 80-bit format:
//   - each Extended operation and conversion must give the unit's bits;
//   - the listing block must read, byte for byte, as the quoted printf
//     formats print the record with the breakdown, the elapsed time and the
//     angles computed directly in long double.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "extended.h"
#include "listing.h"
#include "sample_record.h"

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

// What print_block writes for a converted record and t0.
inline std::string block_text(const SampleRecord& record, double t0) {
  char buffer[8192];  // a block is at most about 6 KiB
  std::FILE* out = fmemopen(buffer, sizeof buffer, "w");
  if (out == nullptr) return "fmemopen failed";
  std::setvbuf(out, nullptr, _IONBF, 0);
  print_block(out, record, t0);
  const long size = std::ftell(out);
  std::fclose(out);
  return std::string(buffer, size > 0 ? static_cast<std::size_t>(size) : 0U);
}

// The block of a record as read from the file (angles still in radians),
// printed with the quoted formats from long double arithmetic.
inline std::string reference_block(const SampleRecord& raw, double t0) {
  const double t = raw.field[0];
  const GpsTimeParts p = break_down_time(t);
  std::string text;
  char field[400];
  const auto append = [&](int length) { text.append(field, static_cast<std::size_t>(length)); };
  append(std::snprintf(field, sizeof field, "\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", t,
                       p.day, p.hour, p.minute, p.second, p.hundredths));
  append(std::snprintf(field, sizeof field, "%21.14lf ",
                       static_cast<double>(subtract_double(t, t0))));
  for (std::size_t i = 1; i < kFieldCount; ++i) {
    double v = raw.field[i];
    for (const std::size_t angle : kAngleFields) {
      if (angle == i) v = static_cast<double>(v * 57.295779513082320877L);
    }
    append(std::snprintf(field, sizeof field, i + 1 < kFieldCount ? "%20.15lf " : "%20.15lf\n", v));
  }
  return text;
}

// Checks navdump's block of a record as read from the file against the
// reference. Returns an empty string, or both texts.
inline std::string check_block(const SampleRecord& raw, double t0) {
  SampleRecord converted = raw;
  convert_angles(converted);
  const std::string got = block_text(converted, t0);
  const std::string want = reference_block(raw, t0);
  return got == want ? std::string() : "block:\n" + got + "reference:\n" + want;
}

}  // namespace navdump::x87
