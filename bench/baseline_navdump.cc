// SPDX-License-Identifier: MIT
// baseline_navdump FILE: the record-at-a-time stdio design navdump is
// measured against: one fread per record, every record's angles converted
// with the host's long double, every 3000th record printed with the quoted
// printf formats (the reference). Records are read straight into doubles,
// as that design did on the little-endian hosts it ran on.
#include <bit>
#include <cstdio>
#include <string>

#include "x87_reference.h"

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  std::FILE* in = std::fopen(argv[1], "r");
  if (in == nullptr) return 1;
  records::SampleRecord record;
  long count = 0;
  std::uint64_t t0_bits = 0;
  while (std::fread(record.field.data(), records::kRecordSize, 1, in) == 1) {
    navdump::x87::reference_angles(record);
    if (count == 0) t0_bits = std::bit_cast<std::uint64_t>(record.field[0]);
    ++count;
    if (count % 3000 == 0) std::fputs(navdump::x87::reference_text(record, t0_bits).c_str(), stdout);
  }
  std::fprintf(stderr, "record # %ld\n", count);
  return 0;
}
