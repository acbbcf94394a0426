// SPDX-License-Identifier: MIT
// baseline_navdump FILE: the record-at-a-time stdio design navdump is
// measured against: one fread per record, every record's angles converted
// with the host's long double, every 3000th record printed with fprintf.
// Records are read straight into doubles, as that design did on the
// little-endian hosts it ran on.
#include <cstdio>
#include <cstring>

#include "listing.h"
#include "sample_record.h"

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  std::FILE* in = std::fopen(argv[1], "r");
  if (in == nullptr) return 1;
  double field[navdump::kFieldCount];
  long count = 0;
  double t0 = 0.0;
  while (std::fread(field, sizeof field, 1, in) == 1) {
    for (const std::size_t i : navdump::kAngleFields) {
      field[i] = static_cast<double>(field[i] * 57.295779513082320877L);
    }
    if (count == 0) t0 = field[0];
    ++count;
    if (count % 3000 != 0) continue;
    const navdump::GpsTimeParts p = navdump::break_down_time(field[0]);
    std::printf("\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", field[0], p.day, p.hour,
                p.minute, p.second, p.hundredths);
    std::printf("%21.14lf ", static_cast<double>(static_cast<long double>(field[0]) - t0));
    for (std::size_t i = 1; i < navdump::kFieldCount - 1; ++i) std::printf("%20.15lf ", field[i]);
    std::printf("%20.15lf\n", field[navdump::kFieldCount - 1]);
  }
  std::fprintf(stderr, "record # %ld\n", count);
  return 0;
}
