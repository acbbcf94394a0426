// SPDX-License-Identifier: MIT
// The files of the tests: the command-line test file, the hard cases for
// comparing builds and the fuzz seeds.
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "generator.h"
#include "sample_writer.h"
#include "test_files.h"

namespace tools {
namespace {

using records::kFieldCount;
using records::SampleRecord;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- The command-line test file.

// A signed 53-bit integer scaled by a power of two: exact everywhere.
double scaled(std::uint64_t bits, int exponent) {
  const auto integer = static_cast<std::int64_t>(bits >> 11) - (std::int64_t{1} << 52);
  return std::ldexp(static_cast<double>(integer), exponent);
}

}  // namespace

std::string write_listing_case(const std::string& path) {
  // Values are built from integers and literals, never computed in floating
  // point. The three listed records carry delicate times (hundredths
  // reaching 100, a negative time, a time past the day count) and, in the
  // second, a special value in every field.
  const double specials[] = {kNaN, -kNaN, kInf, -kInf, -0.0,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(), 1e22,
                             0x1p-16 * 3,  // a decimal tie at the 15th decimal
                             9.9999999999999995, 3.141592653589793,
                             std::bit_cast<double>(0x7ff4000000000000)};
  const double listed_times[] = {86399.996, -3661.5, navdump::kBreakdownLimit + 0.5};
  Generator g(20261209);
  std::vector<SampleRecord> records(9001);
  for (std::size_t i = 0; i < records.size(); ++i) {
    SampleRecord& r = records[i];
    r.field[0] = 345600.0 + static_cast<double>(i);
    for (std::size_t f = 1; f < kFieldCount; ++f) {
      const std::uint64_t bits = g.next();
      r.field[f] = scaled(bits, f <= 2 || (f >= 7 && f <= 10) ? -50 : static_cast<int>(bits % 64) - 60);
    }
    if ((i + 1) % 3000 == 0) {
      const std::size_t block = (i + 1) / 3000;
      r.field[0] = listed_times[block - 1];
      if (block == 2) {
        for (std::size_t f = 1; f < kFieldCount; ++f) r.field[f] = specials[f % std::size(specials)];
      }
    }
  }
  const std::vector<std::byte> trailing(135, std::byte{0x42});
  return write_record_file(path, records, trailing) ? std::string() : path;
}

std::string write_hard_cases(const std::string& dir) {
  // The first time decides which NaN an elapsed time shows: drawn like the
  // rest, a signalling NaN, an infinity (inf - inf) or a quiet NaN (of two
  // NaNs with one payload the positive wins). Every third listed time is
  // special too.
  const struct {
    const char* name;
    std::uint64_t first_time;
  } cases[] = {{"drawn_first_time", 0},
               {"signalling_first_time", 0x7ff4000000000000},
               {"infinite_first_time", 0x7ff0000000000000},
               {"quiet_nan_first_time", 0x7ff8000000000000}};
  const std::uint64_t special_times[] = {0x7ff0000000000000, 0xfff0000000000000,
                                         0x7ff8000000000000, 0xfff8000000000000,
                                         0xfff4000000000000, 0x7ff8000000000001};
  constexpr std::size_t kRecords = 3000 * 40 + 17;  // 40 listed records
  Generator g(20261208);
  for (std::size_t c = 0; c < std::size(cases); ++c) {
    std::vector<SampleRecord> records(kRecords);
    for (std::size_t i = 0; i < kRecords; ++i) {
      for (double& f : records[i].field) f = g.value();
      records[i].field[0] = i % 2 == 0 ? g.time() : g.value();
      if (i % 9000 == 8999) {
        records[i].field[0] = std::bit_cast<double>(special_times[g.below(std::size(special_times))]);
      }
    }
    if (cases[c].first_time != 0) records[0].field[0] = std::bit_cast<double>(cases[c].first_time);
    // A trailing partial record of a different length in each.
    const std::vector<std::byte> trailing(c * 45, std::byte{0x42});
    std::string path = dir + "/" + cases[c].name + ".rec";
    if (!write_record_file(path, records, trailing)) return path;
  }
  return {};
}

}  // namespace tools
