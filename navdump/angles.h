// SPDX-License-Identifier: MIT
// The angle fields of a sample record, stored in radians and listed in
// degrees.
#pragma once

#include <array>
#include <cstddef>

#include "extended.h"
#include "sample_record.h"

namespace navdump {

// Indices of the fields that hold angles.
inline constexpr std::array<std::size_t, 6> kAngleFields = {1, 2, 7, 8, 9, 10};

// 180/pi to a 64-bit significand, the nearest such value
// (57.295779513082320877).
inline constexpr Extended kDegreesPerRadian = Extended::from_bits(0x4004, 0xe52ee0d31e0fbdc3);

// Turns the angle fields from radians into degrees, in place. Each product
// is formed in extended precision and rounded to double once, on storing.
void convert_angles(records::SampleRecord& record);

}  // namespace navdump
