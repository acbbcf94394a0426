// SPDX-License-Identifier: MIT
// The listing block: two lines written for each listed record.
//
// The header line shows the record's GPS time in seconds and broken down
// into whole days and a clock time; the data line shows the time elapsed
// since the first record of the file and the sixteen other fields.
#pragma once

#include <cstdint>
#include <cstdio>

#include "sample_record.h"

namespace navdump {

using records::kFieldCount;
using records::SampleRecord;

struct GpsTimeParts {
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
  std::int32_t hundredths = 0;
};

// Times of 24856 days or more in magnitude: their day count in seconds
// overflows a 32-bit integer.
inline constexpr double kBreakdownLimit = 24856.0 * 86400.0;

// Breaks a time in seconds into days and clock time, truncating toward zero
// at every step, in extended precision throughout. Times beyond the limit,
// infinities and NaN give all-zero parts.
GpsTimeParts break_down_time(double t);

// Writes the block of a converted record; t0_bits are the bits of the first
// record's time. A write error stays in the stream's error flag.
void print_block(std::FILE* out, const SampleRecord& record, std::uint64_t t0_bits);

}  // namespace navdump
