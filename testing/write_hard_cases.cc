// SPDX-License-Identifier: MIT
// write_hard_cases DIR: writes record files whose listings are sensitive to
// every rounding step, for comparing builds digit for digit. The files are
// the same on every run.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sample_writer.h"

namespace {

using navdump::SampleRecord;

constexpr std::size_t kRecords = 3000 * 40 + 17;  // 40 listed records

// A double drawn from raw bits, which is the same on every library.
double uniform(std::mt19937_64& bits, double low, double high) {
  const double unit = static_cast<double>(bits() >> 11) * 0x1p-53;
  return low + (high - low) * unit;
}

using Filler = void (*)(std::mt19937_64&, std::size_t, SampleRecord&);

void random_angles(std::mt19937_64& g, std::size_t i, SampleRecord& r) {
  for (double& f : r.field) f = uniform(g, -7.0, 7.0);
  r.field[0] = 345600.0 + static_cast<double>(i) * 0.01;
}

void short_times(std::mt19937_64& g, std::size_t i, SampleRecord& r) {
  // Below 16 s the hundredths depend on extended precision.
  r.field[0] = uniform(g, -16.0, 16.0);
  if (i % 2 == 0) r.field[0] = std::round(r.field[0] * 200.0) / 200.0;  // half hundredths
  r.field[1] = uniform(g, -3.2, 3.2);
}

void far_apart(std::mt19937_64& g, std::size_t i, SampleRecord& r) {
  r.field[0] = i == 0 ? uniform(g, 0.0, 1e-3) : std::floor(uniform(g, 0.0, 2e9)) + 0.5;
  if (i % 3 == 0) r.field[0] = uniform(g, -2.2e9, 2.2e9);
}

void specials(std::mt19937_64& g, std::size_t i, SampleRecord& r) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double values[] = {std::numeric_limits<double>::quiet_NaN(), kInf, -kInf, -0.0,
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::min() / 3.0, 1e300, -1.7e308,
                           std::numeric_limits<double>::max(), 0.0};
  for (double& f : r.field) f = values[g() % std::size(values)];
  // Huge and special times now and then, ordinary ones otherwise.
  if (i % 7 != 0) r.field[0] = 86400.0 * 3 + static_cast<double>(i) / 3.0;
}

// A signalling NaN as the first time: which NaN the elapsed time shows
// depends on it staying signalling until the subtraction.
void signalling_first_time(std::mt19937_64& g, std::size_t i, SampleRecord& r) {
  const std::uint64_t times[] = {0xfff8000000000000, 0x7ff8000000000001, 0x7ff0000000000000,
                                 0xfff4000000000000};
  r.field[0] = i == 0 ? std::bit_cast<double>(0x7ff4000000000000)
                      : std::bit_cast<double>(times[g() % std::size(times)]);
  if (i % 7 == 3) r.field[0] = uniform(g, -1e6, 1e6);
}

void raw_bits(std::mt19937_64& g, std::size_t, SampleRecord& r) {
  for (double& f : r.field) f = std::bit_cast<double>(g());
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argc > 0 ? argv[0] : "write_hard_cases");
    return tools::kFailureStatus;
  }
  const struct {
    const char* name;
    Filler fill;
    std::size_t trailing;
  } cases[] = {{"random_angles", random_angles, 0}, {"short_times", short_times, 5},
               {"far_apart", far_apart, 0},         {"specials", specials, 135},
               {"raw_bits", raw_bits, 77},          {"signalling_first_time", signalling_first_time, 0}};
  std::mt19937_64 g(20261208);
  for (const auto& c : cases) {
    std::vector<SampleRecord> records(kRecords);
    for (std::size_t i = 0; i < kRecords; ++i) c.fill(g, i, records[i]);
    const std::vector<std::byte> trailing(c.trailing, std::byte{0x42});
    const std::string path = std::string(argv[1]) + "/" + c.name + ".rec";
    if (!tools::write_record_file(path, records, trailing)) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return tools::kFailureStatus;
    }
  }
  return 0;
}
