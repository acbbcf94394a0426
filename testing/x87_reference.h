// SPDX-License-Identifier: MIT
// The listing block as the quoted printf formats print it with the
// breakdown, the elapsed time and the angles computed directly in long
// double: on hosts whose long double is the x87 80-bit format, the
// reference for navdump's block, shared by the tests, the fuzz target and
// the benchmarks.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "angles.h"
#include "listing.h"

namespace navdump::x87 {

inline constexpr bool kHostIsX87 = std::numeric_limits<long double>::digits == 64 &&
                                   std::numeric_limits<long double>::max_exponent == 16384;

// x - y with y as the subtrahend straight from memory, as the x87 unit
// takes it: a signalling NaN there is not quietened before the choice
// between two NaNs.
inline long double subtract_from_memory(long double x, std::uint64_t y_bits) {
  double y = 0;
  std::memcpy(&y, &y_bits, sizeof y);
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
  if (!std::isfinite(t) || std::fabs(time) >= kBreakdownLimit) return p;
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

// What print_block writes for a converted record and the bits of t0.
inline std::string block_text(const SampleRecord& record, std::uint64_t t0_bits) {
  char buffer[8192];  // a block is at most about 6 KiB
  std::FILE* out = fmemopen(buffer, sizeof buffer, "w");
  if (out == nullptr) return "fmemopen failed";
  std::setvbuf(out, nullptr, _IONBF, 0);
  print_block(out, record, t0_bits);
  const long size = std::ftell(out);
  std::fclose(out);
  return std::string(buffer, size > 0 ? static_cast<std::size_t>(size) : 0U);
}

// The angles of a record turned into degrees with long double arithmetic.
inline void reference_angles(SampleRecord& record) {
  for (const std::size_t i : kAngleFields) {
    record.field[i] = static_cast<double>(record.field[i] * 57.295779513082320877L);
  }
}

// The block of a record whose angles are in degrees, printed with the
// quoted formats from long double arithmetic.
inline std::string reference_text(const SampleRecord& record, std::uint64_t t0_bits) {
  const double t = record.field[0];
  const GpsTimeParts p = break_down_time(t);
  std::string text;
  char field[400];
  const auto append = [&](int length) { text.append(field, static_cast<std::size_t>(length)); };
  append(std::snprintf(field, sizeof field, "\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", t,
                       p.day, p.hour, p.minute, p.second, p.hundredths));
  append(std::snprintf(field, sizeof field, "%21.14lf ",
                       static_cast<double>(subtract_from_memory(t, t0_bits))));
  for (std::size_t i = 1; i < kFieldCount; ++i) {
    append(std::snprintf(field, sizeof field, i + 1 < kFieldCount ? "%20.15lf " : "%20.15lf\n",
                         record.field[i]));
  }
  return text;
}

// The same for a record as read from the file, angles in radians.
inline std::string reference_block(SampleRecord raw, std::uint64_t t0_bits) {
  reference_angles(raw);
  return reference_text(raw, t0_bits);
}

// Checks navdump's block of a record as read from the file against the
// reference. Returns an empty string, or both texts.
inline std::string check_block(const SampleRecord& raw, std::uint64_t t0_bits) {
  SampleRecord converted = raw;
  convert_angles(converted);
  const std::string got = block_text(converted, t0_bits);
  const std::string want = reference_block(raw, t0_bits);
  return got == want ? std::string() : "block:\n" + got + "reference:\n" + want;
}

}  // namespace navdump::x87
