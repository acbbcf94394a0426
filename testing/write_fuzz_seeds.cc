// write_fuzz_seeds DIR TARGET: a small seed corpus for the named fuzz target.
// The listing target gets one record and t0 at special times; the reader
// target gets control bytes (interval, chunking, interruptions, refusals,
// error offset, buffer) before a few small records; the format target gets a
// width, a precision and doubles that sit on rounding ties, carries and the
// special values. A target without seeds starts from an empty corpus.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "sample_writer.h"

namespace {

// listing_fuzz: one record and t0, 144 bytes, at times the breakdown must
// handle: a whole day, short times, negative ones, hundredths reaching 100,
// and NaN, infinities and times at or near the end of the day count.
bool write_listing_seeds(const std::string& dir) {
  constexpr double kLimit = 2147558400.0;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double times[] = {345600.0, 0.015, -3661.5, 86399.996, nan, inf, -inf, kLimit,
                          -1e300, std::nextafter(kLimit, 0.0), -std::nextafter(kLimit, 0.0),
                          -kLimit};
  const double t0s[] = {0.0, 342601.0, nan, -1e300};
  int index = 0;
  for (const double t : times) {
    navdump::SampleRecord record = tools::synthetic_record(index, t, 1.0);
    record.field[0] = t;
    navdump::SampleRecord first;
    first.field[0] = t0s[index % std::size(t0s)];
    const auto t0_bytes = navdump::encode_record(first);
    const std::string path = dir + "/seed" + std::to_string(index++);
    if (!tools::write_record_file(path, std::span(&record, 1),
                                  std::span(t0_bytes).first(sizeof(double)))) {
      return false;
    }
  }
  return true;
}

// Seeds for reader_fuzz: seven control bytes, then records and a tail.
bool write_reader_seeds(const std::string& dir) {
  const std::vector<std::vector<unsigned char>> controls = {
      {2, 0, 0, 0, 0x80, 0, 3},    // plain, every second record listed
      {6, 5, 2, 0, 0x80, 0, 1},    // short transfers, interruptions
      {4, 40, 3, 1, 0x80, 0, 0},   // skips refused after the first
      {2, 0, 0, 3, 0x03, 0x21, 3}, // an error in a skipped span
      {0, 9, 0, 0, 0x02, 0x00, 2}, // every record listed, an error
  };
  int index = 0;
  for (const auto& control : controls) {
    std::string bytes(control.begin(), control.end());
    for (int i = 0; i < 7 + index; ++i) {
      const auto record = navdump::encode_record(tools::synthetic_record(i, 0.0, 10.0));
      bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    bytes.append(static_cast<std::size_t>(index * 29), '\1');
    std::ofstream seed(dir + "/seed" + std::to_string(index++), std::ios::binary);
    if (!seed.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
  }
  return true;
}

// Seeds for format_fuzz: a width and a precision, then doubles.
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
  const std::string target = argv[2];
  if (target == "listing_fuzz" && !write_listing_seeds(argv[1])) return -9;
  if (target == "reader_fuzz" && !write_reader_seeds(argv[1])) return -9;
  if (target == "format_fuzz" && !write_format_seeds(argv[1])) return -9;
  return 0;
}
