// SPDX-License-Identifier: MIT
// format_bench [ROUNDS]: the listing blocks of 1 GiB of records (2631
// blocks, about 47,000 numbers) written to /dev/null by the block writer and
// by the fprintf calls of the quoted formats, in alternating rounds; prints
// the median nanoseconds per block of each and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "listing.h"
#include "sample_record.h"
#include "sample_writer.h"

namespace {

constexpr std::int64_t kBlocks = (std::int64_t{1} << 30) / 136 / 3000;

// The block as the quoted formats print it, one fprintf per field.
void print_block_with_printf(std::FILE* out, const navdump::SampleRecord& record, double t0) {
  const double t = record.field[0];
  const navdump::GpsTimeParts p = navdump::break_down_time(t);
  std::fprintf(out, "\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", t, p.day, p.hour,
               p.minute, p.second, p.hundredths);
  const auto elapsed = static_cast<double>(static_cast<long double>(t) -
                                           static_cast<long double>(t0));
  std::fprintf(out, "%21.14lf ", elapsed);
  for (std::size_t i = 1; i < navdump::kFieldCount - 1; ++i) {
    std::fprintf(out, "%20.15lf ", record.field[i]);
  }
  std::fprintf(out, "%20.15lf\n", record.field[navdump::kFieldCount - 1]);
}

using BlockWriter = void (*)(std::FILE*, const navdump::SampleRecord&, double);

double ns_per_block(BlockWriter write, const std::vector<navdump::SampleRecord>& records,
                    std::FILE* out) {
  const auto start = std::chrono::steady_clock::now();
  for (const auto& r : records) write(out, r, 345600.0);
  std::fflush(out);
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / static_cast<double>(records.size());
}

std::string text_of(BlockWriter write, const std::vector<navdump::SampleRecord>& records) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&data, &size);
  for (const auto& r : records) write(out, r, 345600.0);
  std::fclose(out);
  std::string text(data, size);
  std::free(data);
  return text;
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
  for (std::int64_t b = 1; b <= kBlocks; ++b) {
    records.push_back(tools::synthetic_record(b * 3000 - 1, 345600.0, 10.0));
    navdump::convert_angles(records.back());
  }
  const bool identical = text_of(navdump::print_block, records) ==
                         text_of(print_block_with_printf, records);
  std::FILE* out = std::fopen("/dev/null", "w");
  if (out == nullptr) return 1;
  std::vector<double> ours;
  std::vector<double> printf_path;
  for (int r = 0; r < rounds; ++r) {
    ours.push_back(ns_per_block(navdump::print_block, records, out));
    printf_path.push_back(ns_per_block(print_block_with_printf, records, out));
  }
  std::fclose(out);
  const double a = median(ours);
  const double b = median(printf_path);
  std::printf("%lld blocks, %d rounds, output identical: %s\n", static_cast<long long>(kBlocks),
              rounds, identical ? "yes" : "NO");
  std::printf("print_block  %8.0f ns/block  %6.2f ms per GiB of records\n", a,
              a * static_cast<double>(kBlocks) * 1e-6);
  std::printf("fprintf      %8.0f ns/block  %6.2f ms per GiB of records\n", b,
              b * static_cast<double>(kBlocks) * 1e-6);
  std::printf("ratio fprintf / print_block: %.2f\n", b / a);
  return identical ? 0 : 1;
}
