// SPDX-License-Identifier: MIT
#include "sample_record.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace navdump {
namespace {

TEST(SampleRecordDecoding, FieldsAreLittleEndianAtEightByteSteps) {
  std::array<std::byte, kRecordSize> bytes{};
  bytes[6] = std::byte{0xF0};  // field 0: 1.0, 0x3FF0000000000000
  bytes[7] = std::byte{0x3F};
  bytes[8] = std::byte{0x01};  // field 1: the smallest subnormal
  bytes[128 + 7] = std::byte{0xC0};  // field 16: -2.0
  const SampleRecord r = decode_record(bytes);
  EXPECT_EQ(r.field[0], 1.0);
  EXPECT_EQ(r.field[1], std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(r.field[16], -2.0);
  for (std::size_t i = 2; i < 16; ++i) EXPECT_EQ(std::bit_cast<std::uint64_t>(r.field[i]), 0U);
}

// Known answers of the x87 unit, so that hosts without one check them too.
TEST(AngleConversion, ProductIsFormedInExtendedPrecision) {
  SampleRecord r;
  // Values where a double-only factor gives the neighbouring double.
  r.field[1] = 0x1.a20bfcbc5f58cp+0;
  r.field[10] = 0x1.c793fc7c750dp-1;
  r.field[2] = std::numeric_limits<double>::infinity();
  r.field[7] = std::numeric_limits<double>::quiet_NaN();
  r.field[8] = -0.0;
  r.field[9] = std::numeric_limits<double>::denorm_min();
  convert_angles(r);
  EXPECT_EQ(r.field[1], 0x1.7641465f2940cp+6);
  EXPECT_EQ(r.field[10], 0x1.97dacd8be477p+5);
  EXPECT_EQ(r.field[2], std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(r.field[7]));
  EXPECT_TRUE(std::signbit(r.field[8]) && r.field[8] == 0.0);
  EXPECT_EQ(r.field[9], 57.0 * std::numeric_limits<double>::denorm_min());
}

}  // namespace
}  // namespace navdump
