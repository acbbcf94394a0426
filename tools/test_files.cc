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

namespace tools {
namespace {

using navdump::kFieldCount;
using navdump::SampleRecord;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- The command-line test file.

// A signed 53-bit integer scaled by a power of two: exact everywhere.
double scaled(std::uint64_t bits, int exponent) {
  const auto integer = static_cast<std::int64_t>(bits >> 11) - (std::int64_t{1} << 52);
  return std::ldexp(static_cast<double>(integer), exponent);
}

// ---- The hard cases.

double uniform(Generator& g, double low, double high) { return low + (high - low) * g.unit(); }

void random_angles(Generator& g, std::size_t i, SampleRecord& r) {
  for (double& f : r.field) f = uniform(g, -7.0, 7.0);
  r.field[0] = 345600.0 + static_cast<double>(i) * 0.01;
}

void short_times(Generator& g, std::size_t i, SampleRecord& r) {
  // Below 16 s the hundredths depend on extended precision.
  r.field[0] = uniform(g, -16.0, 16.0);
  if (i % 2 == 0) r.field[0] = std::round(r.field[0] * 200.0) / 200.0;  // half hundredths
  r.field[1] = uniform(g, -3.2, 3.2);
}

void far_apart(Generator& g, std::size_t i, SampleRecord& r) {
  r.field[0] = i == 0 ? uniform(g, 0.0, 1e-3) : std::floor(uniform(g, 0.0, 2e9)) + 0.5;
  if (i % 3 == 0) r.field[0] = uniform(g, -2.2e9, 2.2e9);
}

void specials(Generator& g, std::size_t i, SampleRecord& r) {
  const double values[] = {kNaN, kInf, -kInf, -0.0,
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::min() / 3.0, 1e300, -1.7e308,
                           std::numeric_limits<double>::max(), 0.0};
  for (double& f : r.field) f = values[g.below(std::size(values))];
  // Huge and special times now and then, ordinary ones otherwise.
  if (i % 7 != 0) r.field[0] = 86400.0 * 3 + static_cast<double>(i) / 3.0;
}

// A signalling NaN as the first time: which NaN the elapsed time shows
// depends on it staying signalling until the subtraction.
void signalling_first_time(Generator& g, std::size_t i, SampleRecord& r) {
  const std::uint64_t times[] = {0xfff8000000000000, 0x7ff8000000000001, 0x7ff0000000000000,
                                 0xfff4000000000000};
  r.field[0] = i == 0 ? std::bit_cast<double>(0x7ff4000000000000)
                      : std::bit_cast<double>(times[g.below(std::size(times))]);
  if (i % 7 == 3) r.field[0] = uniform(g, -1e6, 1e6);
}

// Special first times against special times: inf - inf gives the x87
// unit's default NaN, and of two NaNs with one payload the positive wins.
void special_times(Generator& g, std::size_t i, SampleRecord& r, std::uint64_t first) {
  const std::uint64_t times[] = {0x7ff0000000000000, 0xfff0000000000000, 0xfff8000000000000,
                                 0x7ff8000000000000, 0x4115180000000000};
  r.field[0] = std::bit_cast<double>(i == 0 ? first : times[g.below(std::size(times))]);
}
void infinite_first_time(Generator& g, std::size_t i, SampleRecord& r) {
  special_times(g, i, r, 0x7ff0000000000000);
}
void quiet_nan_first_time(Generator& g, std::size_t i, SampleRecord& r) {
  special_times(g, i, r, 0x7ff8000000000000);
}

void raw_bits(Generator& g, std::size_t, SampleRecord& r) {
  for (double& f : r.field) f = std::bit_cast<double>(g.next());
}

// The differential tests' values: ties, carries, every magnitude, NaNs.
void drawn_values(Generator& g, std::size_t i, SampleRecord& r) {
  for (double& f : r.field) f = g.value();
  if (i % 2 == 0) r.field[0] = g.time();
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
  constexpr std::size_t kRecords = 3000 * 40 + 17;  // 40 listed records
  const struct {
    const char* name;
    void (*fill)(Generator&, std::size_t, SampleRecord&);
    std::size_t trailing;
  } cases[] = {{"random_angles", random_angles, 0}, {"short_times", short_times, 5},
               {"far_apart", far_apart, 0},         {"specials", specials, 135},
               {"raw_bits", raw_bits, 77},          {"signalling_first_time", signalling_first_time, 0},
               {"drawn_values", drawn_values, 0},   {"infinite_first_time", infinite_first_time, 0},
               {"quiet_nan_first_time", quiet_nan_first_time, 0}};
  Generator g(20261208);
  for (const auto& c : cases) {
    std::vector<SampleRecord> records(kRecords);
    for (std::size_t i = 0; i < kRecords; ++i) c.fill(g, i, records[i]);
    const std::vector<std::byte> trailing(c.trailing, std::byte{0x42});
    const std::string path = dir + "/" + c.name + ".rec";
    if (!write_record_file(path, records, trailing)) return path;
  }
  return {};
}

std::string write_fuzz_seeds(const std::string& dir) {
  // Times where the breakdown is delicate (a whole day, short and negative
  // times, hundredths reaching 100, NaN, infinities, the end of the day
  // count), six a seed.
  constexpr double kLimit = navdump::kBreakdownLimit;
  const double times[] = {345600.0, 0.015, -3661.5, 86399.996, kNaN, kInf, -kInf, kLimit,
                          std::nextafter(kLimit, 0.0), -1e300, 15.995, 363787.04};
  std::vector<std::vector<SampleRecord>> seeds(3);
  for (std::size_t i = 0; i < std::size(times); ++i) seeds[i / 6].emplace_back().field[0] = times[i];
  // A signalling NaN first time, then a quiet negative NaN.
  seeds[2].resize(2);
  seeds[2][0].field[0] = std::bit_cast<double>(0x7ff4000000000000);
  seeds[2][1].field[0] = std::bit_cast<double>(0xfff8000000000000);
  // Fields on decimal ties and a carry at the 15th decimal, a signed zero
  // and the ends of the range.
  const double fields[] = {0x1p-16 * 3, -1.0 - 0x1p-16, 0x1.fffffffffffffp-1, -0.0,
                           std::numeric_limits<double>::max(), 1e22, 3.141592653589793,
                           std::numeric_limits<double>::denorm_min()};
  for (std::size_t seed = 0; seed < seeds.size(); ++seed) {
    for (std::size_t i = 0; i < seeds[seed].size(); ++i) {
      for (std::size_t f = 1; f < kFieldCount; ++f) {
        seeds[seed][i].field[f] = fields[(seed + i + f) % std::size(fields)];
      }
    }
    const std::string path = dir + "/seed" + std::to_string(seed) + ".rec";
    if (!write_record_file(path, seeds[seed])) return path;
  }
  return {};
}

}  // namespace tools
