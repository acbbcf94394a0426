// SPDX-License-Identifier: MIT
// write_fuzz_seeds DIR: a small seed corpus for listing_fuzz. Each seed is
// seven control bytes (interval, chunking, interruptions, refusals, error
// offset, read buffer) and a few records whose times sit where the
// breakdown is delicate (a whole day, short and negative times, hundredths
// reaching 100, NaN, infinities, the end of the day count) and whose fields
// sit on rounding ties and carries.
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "sample_writer.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argc > 0 ? argv[0] : "write_fuzz_seeds");
    return tools::kFailureStatus;
  }
  constexpr double kLimit = 2147558400.0;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double times[] = {345600.0, 0.015, -3661.5, 86399.996, nan, inf, -inf, kLimit,
                          std::nextafter(kLimit, 0.0), -1e300, 15.995, 363787.04};
  const double fields[] = {0x1p-14 * 3, 9.9999999999999995, 0.99999999999999995, -0.0,
                           std::numeric_limits<double>::max(), 1e22, 3.141592653589793,
                           std::numeric_limits<double>::denorm_min()};
  const std::vector<std::vector<unsigned char>> controls = {
      {0, 0, 0, 0, 0x80, 0, 3},     // every record listed
      {1, 5, 2, 0, 0x80, 0, 1},     // every second, short transfers, interruptions
      {2, 40, 3, 0x21, 0x80, 0, 0},  // skips refused after the first
      {1, 0, 0, 3, 0x03, 0x21, 3},  // an error in a skipped span
  };
  for (std::size_t seed = 0; seed < controls.size(); ++seed) {
    std::vector<unsigned char> bytes = controls[seed];
    for (std::size_t i = 0; i < 6; ++i) {
      navdump::SampleRecord r = tools::synthetic_record(static_cast<std::int64_t>(i), 0.0, 10.0);
      r.field[0] = times[(seed * 6 + i) % std::size(times)];
      for (std::size_t f = 1; f < navdump::kFieldCount; f += 3) {
        r.field[f] = fields[(seed + i + f) % std::size(fields)];
      }
      for (const std::byte b : tools::encode_record(r)) bytes.push_back(static_cast<unsigned char>(b));
    }
    bytes.insert(bytes.end(), seed * 29, 1);
    const std::string path = std::string(argv[1]) + "/seed" + std::to_string(seed);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool written = out != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (out == nullptr || std::fclose(out) != 0 || !written) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
      return tools::kFailureStatus;
    }
  }
  return 0;
}
