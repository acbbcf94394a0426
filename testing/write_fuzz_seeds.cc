// write_fuzz_seeds DIR TARGET: a small seed corpus for the named fuzz target.
// The listing target gets whole listed records, special times and a trailing
// partial record; the extended target gets operands at rounding ties, at the
// ends of the range and NaNs; a target without seeds starts from an empty
// corpus.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "sample_writer.h"

namespace {

// Groups of two 80-bit operands (significand, then sign and exponent, both
// little-endian) and a double time, one group per seed file.
int write_extended_seeds(const std::string& dir) {
  struct Group {
    std::uint64_t a_significand;
    std::uint16_t a_sign_exponent;
    std::uint64_t b_significand;
    std::uint16_t b_sign_exponent;
    double time;
  };
  const Group groups[] = {
      {0x8000000000000001, 0x3fff, 0x8000000000000000, 0x3fbf, 0.015},        // tie at 64 bits
      {0x8000000000000400, 0x3fff, 0x8000000000000000, 0x3fbf, 86399.996},    // tie at 53 bits
      {0x8000000000000000, 0x0001, 0xc000000000000000, 0x3ffe, -3661.5},      // subnormal
      {0x8000000000000000, 0x7ffe, 0x8000000000000000, 0x4000, 2147558399.5}, // overflow
      {0xc000000000000001, 0xffff, 0x8000000000000001, 0x7fff, std::nan("")}, // NaNs
  };
  int index = 0;
  for (const Group& g : groups) {
    unsigned char bytes[28];
    std::memcpy(bytes, &g.a_significand, 8);
    std::memcpy(bytes + 8, &g.a_sign_exponent, 2);
    std::memcpy(bytes + 10, &g.b_significand, 8);
    std::memcpy(bytes + 18, &g.b_sign_exponent, 2);
    std::memcpy(bytes + 20, &g.time, 8);
    const std::string path = dir + "/seed" + std::to_string(index++);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return -9;
    const bool written = std::fwrite(bytes, sizeof bytes, 1, out) == 1;
    if (std::fclose(out) != 0 || !written) return -9;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DIR TARGET\n", argc > 0 ? argv[0] : "write_fuzz_seeds");
    return -9;
  }
  if (std::string(argv[2]) == "extended_fuzz") return write_extended_seeds(argv[1]);
  if (std::string(argv[2]) != "listing_fuzz") return 0;
  const double times[] = {345600.0, 0.015, -3661.5, 86399.996,
                          std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), 2147558400.0, -1e300};
  int index = 0;
  for (const double t : times) {
    std::vector<navdump::SampleRecord> records(3000);
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i] = tools::synthetic_record(static_cast<std::int64_t>(i), 0.0, 10.0);
      records[i].field[0] = t;
    }
    const std::vector<std::byte> trailing(static_cast<std::size_t>(index * 17), std::byte{1});
    const std::string path = std::string(argv[1]) + "/seed" + std::to_string(index++);
    if (!tools::write_record_file(path, records, trailing)) return -9;
  }
  return 0;
}
