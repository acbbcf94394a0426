// write_fuzz_seeds DIR TARGET: a small seed corpus for the named fuzz target.
// The listing target gets whole listed records, special times and a trailing
// partial record; the reader target gets control bytes (interval, chunking,
// interruptions, refusals, error offset, buffer) before a few small records;
// a target without seeds starts from an empty corpus.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "sample_writer.h"

namespace {

// Seeds for reader_fuzz: seven control bytes, then records and a tail.
int write_reader_seeds(const std::string& dir) {
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
    if (!seed.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return -9;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DIR TARGET\n", argc > 0 ? argv[0] : "write_fuzz_seeds");
    return -9;
  }
  if (std::string(argv[2]) == "reader_fuzz") return write_reader_seeds(argv[1]);
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
