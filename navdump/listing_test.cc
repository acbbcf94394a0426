// SPDX-License-Identifier: MIT
#include "listing.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "generator.h"
#include "x87_reference.h"

namespace navdump {
namespace {

using x87::block_text;

std::string header_of(double t) {
  SampleRecord r;
  r.field[0] = t;
  const std::string text = block_text(r, 0);
  return text.substr(1, text.find('\n', 1) - 1);
}

// Known answers of the x87 unit, so that every host checks them.
TEST(GpsTimeHeader, BreaksTimesIntoDaysAndClockTimeInExtendedPrecision) {
  const std::pair<double, const char*> cases[] = {
      {345600.0, "===GPS Time:   345600.0000000000000    4, 0: 0: 0. 0"},
      {432000.5, "===GPS Time:   432000.5000000000000    5, 0: 0: 0.50"},
      // Stored just below .04 s; rounding of the hundredths still gives 4.
      {363787.04, "===GPS Time:   363787.0399999999790    4, 5: 3: 7. 4"},
      // The hundredths reach 100 without carrying into the seconds.
      {86399.996, "===GPS Time:    86399.9959999999992    0,23:59:59.100"},
      {15.9951, "===GPS Time:       15.9951000000000    0, 0: 0:15.100"},
      // Stored just below, these stay below the half once scaled in
      // extended precision.
      {0.015, "===GPS Time:        0.0150000000000    0, 0: 0: 0. 1"},
      {15.995, "===GPS Time:       15.9950000000000    0, 0: 0:15.99"},
      // Negative times truncate toward zero, every part.
      {-3661.5, "===GPS Time:    -3661.5000000000000    0,-1:-1:-1.-49"},
      {-90061.25, "===GPS Time:   -90061.2500000000000   -1,-1:-1:-1.-24"},
      // The last time with a day count; past it, and without one, all zero.
      {2147558399.5, "===GPS Time: 2147558399.5000000000000  24855,23:59:59.50"},
      {2147558400.0, "===GPS Time: 2147558400.0000000000000    0, 0: 0: 0. 0"},
      {-2147558400.0, "===GPS Time: -2147558400.0000000000000    0, 0: 0: 0. 0"},
      {std::numeric_limits<double>::quiet_NaN(),
       "===GPS Time:                    nan    0, 0: 0: 0. 0"},
      {-std::numeric_limits<double>::infinity(),
       "===GPS Time:                   -inf    0, 0: 0: 0. 0"},
  };
  for (const auto& [time, header] : cases) EXPECT_EQ(header_of(time), header);
}

std::string elapsed_text(double t, double t0) {
  SampleRecord r;
  r.field[0] = t;
  const std::string text = block_text(r, std::bit_cast<std::uint64_t>(t0));
  const std::string data = text.substr(text.find('\n', 1) + 1);
  return data.substr(0, data.find(' ', data.find_first_not_of(' ')));
}

TEST(ElapsedTime, IsRoundedToDoubleOnce) {
  // A plain double subtraction gives the neighbouring double in each.
  EXPECT_EQ(elapsed_text(342004881.5, 0x1.4f5bffa53e7cap-11), "342004881.49936032295227");
  // Just above a tie for double, exactly a tie once rounded to 64 bits.
  EXPECT_EQ(elapsed_text(1073741824.5, -0x1.0000000000001p-23), "1073741824.50000000000000");
  // A tie at 64 bits goes to the even neighbour, which is then a tie for
  // double, which goes to the even one again.
  EXPECT_EQ(elapsed_text(0x1.0000000000001p+10, 0x1.ffcp-44), "  1024.00000000000000");
  // inf - inf is the x87 unit's default NaN, which is negative.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(elapsed_text(kInf, kInf), "                 -nan");
  EXPECT_EQ(elapsed_text(kInf, 1.0), "                  inf");
  // Beyond the largest double, and the smallest subnormal.
  constexpr double kMax = std::numeric_limits<double>::max();
  EXPECT_EQ(elapsed_text(kMax, -kMax), "                  inf");
  EXPECT_EQ(elapsed_text(-0x1p-1074, 0.0), "    -0.00000000000000");
  // A signalling NaN as the first time does not win over a quiet NaN time,
  // whose sign then shows; of two NaNs with one payload the positive wins.
  EXPECT_EQ(elapsed_text(std::bit_cast<double>(0xfff8000000000000),
                         std::bit_cast<double>(0x7ff4000000000000)),
            "                 -nan");
  EXPECT_EQ(elapsed_text(std::bit_cast<double>(0xfff8000000000001),
                         std::bit_cast<double>(0x7ff8000000000001)),
            "                  nan");
  EXPECT_EQ(elapsed_text(std::bit_cast<double>(0x7ff8000000000001),
                         std::bit_cast<double>(0xfff8000000000001)),
            "                  nan");
}

// Angles print in degrees, each product formed in extended precision with
// the 64-bit factor: with a double product the first value, with the
// factor's last bit off the second would print the neighbouring double.
TEST(AngleFields, ConvertInExtendedPrecision) {
  SampleRecord r;
  r.field[1] = 0x1.a20bfcbc5f58cp+0;
  r.field[2] = 0x1.b9c53fa5cfb11p+1;
  r.field[3] = r.field[2];  // not an angle
  convert_angles(r);
  const std::string text = block_text(r, 0);
  EXPECT_NE(text.find("   93.563745009320144  197.746760179722315    3.451332050287768 "),
            std::string::npos)
      << text;
}

// NAVTOOLS_DIFF_OPERANDS as a plain decimal count, fallback when unset, or
// nothing when it is set to anything else ("1e8", "abc", "").
std::optional<std::uint64_t> operand_count(std::uint64_t fallback) {
  const char* text = std::getenv("NAVTOOLS_DIFF_OPERANDS");
  if (text == nullptr) return fallback;
  const std::string_view s(text);
  std::uint64_t count = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), count);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return count;
}

// The whole block against the quoted printf formats, with the breakdown,
// elapsed time and angles from the x87 unit. NAVTOOLS_DIFF_OPERANDS sets
// the number of values drawn, shared by two shards that ctest runs side by
// side.
class ListingBlock : public ::testing::TestWithParam<int> {};

TEST_P(ListingBlock, MatchesTheQuotedFormatsWithX87Arithmetic) {
  if (!x87::kHostIsX87) GTEST_SKIP() << "long double is not the x87 80-bit format here";
  const auto count = operand_count(100'000);
  ASSERT_TRUE(count) << "NAVTOOLS_DIFF_OPERANDS is not a count";
  tools::Generator g(2 + static_cast<std::uint64_t>(GetParam()));
  for (std::uint64_t drawn = 0; drawn < *count / 2; drawn += kFieldCount) {
    SampleRecord raw;
    for (double& f : raw.field) f = g.value();
    if (g.coin()) raw.field[0] = g.time();
    const double t0 = g.below(4) == 0 ? raw.field[0] : g.coin() ? g.time() : g.value();
    const std::string mismatch = x87::check_block(raw, std::bit_cast<std::uint64_t>(t0));
    ASSERT_EQ(mismatch, "") << std::hexfloat << "t0 " << t0;
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, ListingBlock, ::testing::Values(0, 1));

}  // namespace
}  // namespace navdump
