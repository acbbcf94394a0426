// write_fuzz_seeds DIR TARGET: a small seed corpus for the named fuzz target.
// The listing target gets whole listed records, special times and a trailing
// partial record; a target without seeds starts from an empty corpus.
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "sample_writer.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DIR TARGET\n", argc > 0 ? argv[0] : "write_fuzz_seeds");
    return -9;
  }
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
