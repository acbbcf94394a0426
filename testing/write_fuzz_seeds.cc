// write_fuzz_seeds DIR TARGET: a small seed corpus for the named fuzz target.
// The listing target gets whole listed records, special times and a trailing
// partial record; the format target gets a width, a precision and doubles
// that sit on rounding ties, carries and the special values. A target
// without seeds starts from an empty corpus.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "sample_writer.h"

namespace {

bool write_format_seeds(const std::string& dir) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<double>> seeds = {
      {0x1p-14 * 3, 0x1p-15 * 5, 0x1p-16 * 7, 9.9999999999999995, 0.99999999999999995},
      {-0.0, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
       inf, -inf},
      {std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
       -std::numeric_limits<double>::min(), 1e22, -99999.9999999999},
      {345600.0, 86399.996, 0.015, -3661.5, 2999.0}};
  const unsigned char formats[][2] = {{20, 15}, {0, 0}, {63, 31}, {21, 14}};
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    std::vector<unsigned char> bytes(formats[i], formats[i] + 2);
    bytes.resize(2 + seeds[i].size() * sizeof(double));
    std::memcpy(bytes.data() + 2, seeds[i].data(), seeds[i].size() * sizeof(double));
    const std::string path = dir + "/seed" + std::to_string(i);
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DIR TARGET\n", argc > 0 ? argv[0] : "write_fuzz_seeds");
    return -9;
  }
  if (std::string(argv[2]) == "format_fuzz") return write_format_seeds(argv[1]) ? 0 : -9;
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
