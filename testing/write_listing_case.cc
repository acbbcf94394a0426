// SPDX-License-Identifier: MIT
// write_listing_case FILE: the record file of the command-line tests, the
// same bytes on every host (values are built from integers and literals,
// never computed in floating point): 9001 records a second apart from
// 345600 s and 135 trailing bytes. The three listed records carry delicate
// times (hundredths reaching 100, a negative time, a time past the day
// count) and, in the second, a special value in every field.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "generator.h"
#include "sample_writer.h"

namespace {

// A signed 53-bit integer scaled by a power of two: exact everywhere.
double scaled(std::uint64_t bits, int exponent) {
  const auto integer = static_cast<std::int64_t>(bits >> 11) - (std::int64_t{1} << 52);
  return std::ldexp(static_cast<double>(integer), exponent);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argc > 0 ? argv[0] : "write_listing_case");
    return tools::kFailureStatus;
  }
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN(),
                             kInf, -kInf, -0.0,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(), 1e22,
                             0x1p-16 * 3,  // a decimal tie at the 15th decimal
                             9.9999999999999995, 3.141592653589793,
                             std::bit_cast<double>(0x7ff4000000000000)};
  const double listed_times[] = {86399.996, -3661.5, 2147558400.5};
  tools::Generator g(20261209);
  std::vector<navdump::SampleRecord> records(9001);
  for (std::size_t i = 0; i < records.size(); ++i) {
    navdump::SampleRecord& r = records[i];
    r.field[0] = 345600.0 + static_cast<double>(i);
    for (std::size_t f = 1; f < navdump::kFieldCount; ++f) {
      const std::uint64_t bits = g.next();
      r.field[f] = scaled(bits, f <= 2 || (f >= 7 && f <= 10) ? -50 : static_cast<int>(bits % 64) - 60);
    }
    if ((i + 1) % 3000 == 0) {
      const std::size_t block = (i + 1) / 3000;
      r.field[0] = listed_times[block - 1];
      if (block == 2) {
        for (std::size_t f = 1; f < navdump::kFieldCount; ++f) r.field[f] = specials[f % std::size(specials)];
      }
    }
  }
  const std::vector<std::byte> trailing(135, std::byte{0x42});
  if (!tools::write_record_file(argv[1], records, trailing)) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return tools::kFailureStatus;
  }
  return 0;
}
