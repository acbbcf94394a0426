// SPDX-License-Identifier: MIT
// write_fuzz_seeds DIR TARGET: a small seed corpus for the named fuzz target.
// The listing target gets one record and t0 at special times; the reader
// target gets control bytes (interval, chunking, interruptions, refusals,
// error offset, buffer) before a few small records; the format target gets a
// width, a precision and doubles that sit on rounding ties, carries and the
// special values; the extended target gets operands at rounding ties, at the
// ends of the range and NaNs. A target without seeds starts from an empty
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

using Bytes = std::vector<unsigned char>;

// Writes one seed file, DIR/seedN; false on failure.
bool write_seed(const std::string& dir, std::size_t index, const Bytes& bytes) {
  const std::string path = dir + "/seed" + std::to_string(index);
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

template <typename T>
void append(Bytes& bytes, const T& value) {
  unsigned char raw[sizeof(T)];
  std::memcpy(raw, &value, sizeof(T));
  bytes.insert(bytes.end(), raw, raw + sizeof(T));
}

void append_record(Bytes& bytes, const navdump::SampleRecord& record) {
  const auto encoded = navdump::encode_record(record);
  for (const std::byte b : encoded) bytes.push_back(static_cast<unsigned char>(b));
}

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
  for (std::size_t i = 0; i < std::size(times); ++i) {
    navdump::SampleRecord record =
        tools::synthetic_record(static_cast<std::int64_t>(i), times[i], 1.0);
    record.field[0] = times[i];
    Bytes bytes;
    append_record(bytes, record);
    const auto encoded_t0 = navdump::encode_record(navdump::SampleRecord{{t0s[i % std::size(t0s)]}});
    for (std::size_t b = 0; b < sizeof(double); ++b) {
      bytes.push_back(static_cast<unsigned char>(encoded_t0[b]));
    }
    if (!write_seed(dir, i, bytes)) return false;
  }
  return true;
}

// reader_fuzz: seven control bytes, then records and a tail.
bool write_reader_seeds(const std::string& dir) {
  const std::vector<Bytes> controls = {
      {2, 0, 0, 0, 0x80, 0, 3},     // plain, every second record listed
      {6, 5, 2, 0, 0x80, 0, 1},     // short transfers, interruptions
      {4, 40, 3, 1, 0x80, 0, 0},    // skips refused after the first
      {2, 0, 0, 3, 0x03, 0x21, 3},  // an error in a skipped span
      {0, 9, 0, 0, 0x02, 0x00, 2},  // every record listed, an error
  };
  for (std::size_t index = 0; index < controls.size(); ++index) {
    Bytes bytes = controls[index];
    for (std::size_t i = 0; i < 7 + index; ++i) {
      append_record(bytes, tools::synthetic_record(static_cast<std::int64_t>(i), 0.0, 10.0));
    }
    bytes.insert(bytes.end(), index * 29, 1);
    if (!write_seed(dir, index, bytes)) return false;
  }
  return true;
}

// format_fuzz: a width and a precision, then doubles.
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
    Bytes bytes(formats[i], formats[i] + 2);
    for (const double value : seeds[i]) append(bytes, value);
    if (!write_seed(dir, i, bytes)) return false;
  }
  return true;
}

// extended_fuzz: two 80-bit operands (significand, then sign and exponent,
// both in host byte order) and a double time.
bool write_extended_seeds(const std::string& dir) {
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
  for (std::size_t i = 0; i < std::size(groups); ++i) {
    const Group& g = groups[i];
    Bytes bytes;
    append(bytes, g.a_significand);
    append(bytes, g.a_sign_exponent);
    append(bytes, g.b_significand);
    append(bytes, g.b_sign_exponent);
    append(bytes, g.time);
    if (!write_seed(dir, i, bytes)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DIR TARGET\n", argc > 0 ? argv[0] : "write_fuzz_seeds");
    return -9;
  }
  const std::string dir = argv[1];
  const std::string target = argv[2];
  bool ok = true;
  if (target == "listing_fuzz") ok = write_listing_seeds(dir);
  if (target == "reader_fuzz") ok = write_reader_seeds(dir);
  if (target == "format_fuzz") ok = write_format_seeds(dir);
  if (target == "extended_fuzz") ok = write_extended_seeds(dir);
  if (!ok) {
    std::fprintf(stderr, "%s: cannot write the seeds in %s\n", argv[0], argv[1]);
    return -9;
  }
  return 0;
}
