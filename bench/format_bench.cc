// SPDX-License-Identifier: MIT
// format_bench [ROUNDS]: the listing blocks of 1 GiB of records (2631
// blocks, about 47,000 numbers) written to /dev/null by the block writer and
// by the printf reference of the quoted formats, in alternating rounds;
// prints the median nanoseconds per block of each and their ratio.
#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sample_writer.h"
#include "x87_reference.h"

namespace {

constexpr std::int64_t kBlocks = (std::int64_t{1} << 30) / 136 / 3000;
const std::uint64_t kFirstTime = std::bit_cast<std::uint64_t>(345600.0);

// Both take the record as read from the file, angles in radians.
void print_block(std::FILE* out, const navdump::SampleRecord& raw) {
  navdump::SampleRecord record = raw;
  navdump::convert_angles(record);
  navdump::print_block(out, record, kFirstTime);
}

void print_reference(std::FILE* out, const navdump::SampleRecord& raw) {
  const std::string text = navdump::x87::reference_block(raw, kFirstTime);
  std::fwrite(text.data(), 1, text.size(), out);
}

using BlockWriter = void (*)(std::FILE*, const navdump::SampleRecord&);

double ns_per_block(BlockWriter write, const std::vector<navdump::SampleRecord>& records,
                    std::FILE* out) {
  const auto start = std::chrono::steady_clock::now();
  for (const auto& r : records) write(out, r);
  std::fflush(out);
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / static_cast<double>(records.size());
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 21;
  if (rounds < 1) return 2;
  std::vector<navdump::SampleRecord> records;
  bool identical = true;
  for (std::int64_t b = 1; b <= kBlocks; ++b) {
    records.push_back(tools::synthetic_record(b * 3000 - 1, 345600.0, 10.0));
    identical = identical && navdump::x87::check_block(records.back(), kFirstTime).empty();
  }
  std::FILE* out = std::fopen("/dev/null", "w");
  if (out == nullptr) return 1;
  std::vector<double> ours;
  std::vector<double> printf_path;
  for (int r = 0; r < rounds; ++r) {
    ours.push_back(ns_per_block(print_block, records, out));
    printf_path.push_back(ns_per_block(print_reference, records, out));
  }
  std::fclose(out);
  const double a = median(ours);
  const double b = median(printf_path);
  std::printf("%lld blocks, %d rounds, output identical: %s\n", static_cast<long long>(kBlocks),
              rounds, identical ? "yes" : "NO");
  std::printf("print_block  %8.0f ns/block  %6.2f ms per GiB of records\n", a,
              a * static_cast<double>(kBlocks) * 1e-6);
  std::printf("printf       %8.0f ns/block  %6.2f ms per GiB of records\n", b,
              b * static_cast<double>(kBlocks) * 1e-6);
  std::printf("ratio printf / print_block: %.2f\n", b / a);
  return identical ? 0 : 1;
}
