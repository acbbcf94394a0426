// SPDX-License-Identifier: MIT
// spoil_samples KIND IN OUT: copies the record file IN to OUT with faults
// that take navcheck off its fast path, drawn at random positions:
//   nan-times       30% of the times NaN;
//   infinite-values an infinity among fields 1 to 16 every 16 to 32 records.
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "generator.h"
#include "sample_record.h"

int main(int argc, char* argv[]) {
  const bool nan_times = argc == 4 && std::strcmp(argv[1], "nan-times") == 0;
  if (argc != 4 || (!nan_times && std::strcmp(argv[1], "infinite-values") != 0)) {
    std::fprintf(stderr, "usage: %s {nan-times | infinite-values} IN OUT\n", argv[0]);
    return 2;
  }
  std::FILE* in = std::fopen(argv[2], "rb");
  std::FILE* out = std::fopen(argv[3], "wb");
  if (in == nullptr || out == nullptr) return 1;
  tools::Generator g(20261209);
  std::vector<std::byte> record(records::kRecordSize);
  const std::uint64_t nan_bits = records::little_endian(0x7ff8000000000000);
  const std::uint64_t inf_bits = records::little_endian(0x7ff0000000000000);
  std::uint64_t next_infinity = 16;
  for (std::uint64_t i = 0; std::fread(record.data(), record.size(), 1, in) == 1; ++i) {
    if (nan_times && g.below(10) < 3) std::memcpy(record.data(), &nan_bits, 8);
    if (!nan_times && i == next_infinity) {
      std::memcpy(record.data() + 8 * (1 + g.below(16)), &inf_bits, 8);
      next_infinity += 16 + g.below(17);
    }
    if (std::fwrite(record.data(), record.size(), 1, out) != 1) return 1;
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
