// SPDX-License-Identifier: MIT
// Sample records: the fixed-size unit of a record file.
//
// A record file is records back to back, with no header or trailer. Each
// record is 136 bytes: 17 IEEE-754 binary64 values stored little-endian at
// byte offsets 0, 8, ..., 128. Field 0 is a GPS time in seconds; fields 1, 2
// and 7 to 10 are angles stored in radians; the rest are passed through.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "extended.h"

namespace navdump {

inline constexpr std::size_t kFieldCount = 17;
inline constexpr std::size_t kRecordSize = kFieldCount * sizeof(double);
static_assert(kRecordSize == 136);

// Indices of the fields that hold angles.
inline constexpr std::array<std::size_t, 6> kAngleFields = {1, 2, 7, 8, 9, 10};

// 180/pi to a 64-bit significand, the nearest such value
// (57.295779513082320877).
inline constexpr Extended kDegreesPerRadian = Extended::from_bits(0x4004, 0xe52ee0d31e0fbdc3);

struct SampleRecord {
  std::array<double, kFieldCount> field{};
};

// Decoding of one record's 136 bytes.
SampleRecord decode_record(std::span<const std::byte, kRecordSize> bytes);

// Field 0 of a record, as the bits of its double. The first time travels as
// bits: on i386 a double returned from a function passes through the x87
// unit, whose load quietens a signalling NaN, and whether that time signals
// decides which NaN an elapsed time shows.
std::uint64_t time_bits(std::span<const std::byte, kRecordSize> bytes);

// Turns the angle fields from radians into degrees, in place. Each product
// is formed in extended precision and rounded to double once, on storing.
void convert_angles(SampleRecord& record);

}  // namespace navdump
