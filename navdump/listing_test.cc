// SPDX-License-Identifier: MIT
#include "listing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace navdump {
namespace {

// Writes one block to memory and returns its text.
std::string block_text(const SampleRecord& r, double t0) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  print_block(out, r, t0);
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

std::string header_of(double t) {
  SampleRecord r;
  r.field[0] = t;
  const std::string text = block_text(r, 0.0);
  return text.substr(1, text.find('\n', 1) - 1);
}

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
  const std::string text = block_text(r, t0);
  const std::string data = text.substr(text.find('\n', 1) + 1);
  return data.substr(0, data.find(' ', data.find_first_not_of(' ')));
}

TEST(ListingBlock, ElapsedTimeIsRoundedToDoubleOnce) {
  // A plain double subtraction gives the neighbouring double in each.
  EXPECT_EQ(elapsed_text(342004881.5, 0x1.4f5bffa53e7cap-11), "342004881.49936032295227");
  // Just above a tie for double, exactly a tie once rounded to 64 bits.
  EXPECT_EQ(elapsed_text(1073741824.5, -0x1.0000000000001p-23), "1073741824.50000000000000");
  // inf - inf is the x87 unit's default NaN, which is negative.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(elapsed_text(kInf, kInf), "                 -nan");
  EXPECT_EQ(elapsed_text(kInf, 1.0), "                  inf");
}

// The block as the quoted formats print it, for a first time of 0 (the
// elapsed time is then the time itself).
std::string reference_block(const SampleRecord& r) {
  const GpsTimeParts p = break_down_time(r.field[0]);
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  std::fprintf(out, "\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", r.field[0], p.day,
               p.hour, p.minute, p.second, p.hundredths);
  std::fprintf(out, "%21.14lf ", r.field[0]);
  for (std::size_t i = 1; i < kFieldCount - 1; ++i) std::fprintf(out, "%20.15lf ", r.field[i]);
  std::fprintf(out, "%20.15lf\n", r.field[kFieldCount - 1]);
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
}

TEST(ListingBlock, MatchesTheQuotedFormats) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double max = std::numeric_limits<double>::max();
  const std::vector<double> specials = {
      -0.0, nan, -nan, std::numeric_limits<double>::infinity(), -max, max,
      std::numeric_limits<double>::denorm_min(), 0x1p-16 * 3, 9.9999999999999995, 1e22};
  std::vector<SampleRecord> records(4);
  std::uint64_t bits = 0x243f6a8885a308d3U;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    records[0].field[i] = specials[i % specials.size()];
    records[1].field[i] = -specials[(i + 3) % specials.size()];
    records[2].field[i] = std::ldexp(static_cast<double>(i * 7919 % 1000), -3) - 60.0;
    bits = bits * 6364136223846793005U + 1442695040888963407U;
    std::memcpy(&records[3].field[i], &bits, sizeof bits);
  }
  records[2].field[0] = -3661.5;
  for (const SampleRecord& r : records) EXPECT_EQ(block_text(r, 0.0), reference_block(r));
}

}  // namespace
}  // namespace navdump
