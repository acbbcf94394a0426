// baseline_navdump FILE: the straightforward listing, one fread per record
// and every record converted, for comparison with navdump.
#include <cstdio>

#include "listing.h"
#include "sample_record.h"

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  std::FILE* in = std::fopen(argv[1], "r");
  if (in == nullptr) return 1;
  std::array<std::byte, navdump::kRecordSize> bytes{};
  int count = 0;
  double t0 = 0.0;
  while (std::fread(bytes.data(), bytes.size(), 1, in) == 1) {
    navdump::SampleRecord record = navdump::decode_record(bytes);
    navdump::convert_angles(record);
    if (count == 0) t0 = record.field[0];
    ++count;
    if (count % 3000 == 0) navdump::print_block(stdout, record, t0);
  }
  std::fprintf(stderr, "record # %d\n", count);
  return 0;
}
