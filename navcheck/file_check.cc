// SPDX-License-Identifier: MIT
#include "file_check.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string_view>

#include "program_io.h"
#include "value_scan.h"

namespace navcheck {
namespace {

using records::kRecordSize;
using records::load_bits;

// The compressed format whose signature the file begins with, if any.
const char* compression_of(std::span<const std::byte> head) {
  const std::string_view text(reinterpret_cast<const char*>(head.data()), head.size());
  if (text.starts_with("\x1f\x8b\x08")) return "gzip";
  if (text.starts_with(std::string_view("\xfd" "7zXZ\0", 6))) return "xz";
  if (text.starts_with("\x28\xb5\x2f\xfd")) return "zstd";
  // bzip2's signature ends in the block size, a digit 1 to 9.
  if (text.size() >= 4 && text.starts_with("BZh") && text[3] >= '1' && text[3] <= '9') return "bzip2";
  return nullptr;
}

// Records are checked in blocks that stay in the first-level cache: the
// values of a whole block at once, one record at a time only in a block
// where one is not finite; then the times, one by one. Blocks are small
// enough that most of them take the fast way even in a file of random
// bytes, where one double in 2048 is not finite.
constexpr std::size_t kBlockRecords = kScanRecords;

// What reading a file carries from one block to the next.
struct Reading {
  FileCheck& check;
  std::uint64_t crossed = 0;     // bad times since the last good one
  bool after_week_end = false;   // the last record not blank had a good time ending a week
};

void check_block(const std::byte* block, std::size_t count, Reading& reading) {
  FileCheck& check = reading.check;
  if (any_value_not_finite(block, count)) {
    for (std::size_t r = 0; r < count; ++r) {
      check.bad_value += any_value_not_finite(block + r * kRecordSize, 1) ? 1 : 0;
    }
  }
  std::array<records::GoodTime, kBlockRecords> good;
  std::size_t found = 0;
  for (const std::byte* record = block; record != block + count * kRecordSize;
       record += kRecordSize) {
    const std::uint64_t bits = load_bits(record);
    // A blank record's time is +0, whose bits are all zero.
    if (bits == 0 && records::is_blank(records::RecordBytes(record, kRecordSize))) {
      ++check.blank;
      continue;
    }
    const double time = std::bit_cast<double>(bits);
    // Without branches on the time: in a file where many times are bad, at
    // random, a branch would be mispredicted often.
    const bool is_good = records::is_good_time(time, reading.after_week_end);
    good[found] = {time, reading.crossed};
    found += is_good ? 1 : 0;
    check.bad_time += is_good ? 0 : 1;
    reading.crossed = is_good ? 0 : reading.crossed + 1;
    reading.after_week_end = is_good && records::ends_week(time);
  }
  check.steps.add(std::span(good.data(), found));
}

void check_chunk(std::span<const std::byte> chunk, Reading& reading) {
  const std::size_t count = chunk.size() / kRecordSize;
  for (std::size_t first = 0; first < count; first += kBlockRecords) {
    check_block(chunk.data() + first * kRecordSize, std::min(kBlockRecords, count - first), reading);
  }
}

// Checks every record the reader hands out, to the end of the input; the
// reader then holds any read error.
FileCheck check_records(records::RecordReader& reader, records::IntervalWindow& window) {
  FileCheck check(window);
  Reading reading{check};
  auto chunk = reader.next();
  check.compression = compression_of(chunk.empty() ? reader.unused() : chunk);
  for (; !chunk.empty(); chunk = reader.next()) check_chunk(chunk, reading);
  check.steps.finish();
  check.records = reader.bytes_taken() / kRecordSize;
  check.extra = reader.bytes_taken() % kRecordSize;
  return check;
}

}  // namespace

std::optional<FileCheck> check_file(const char* path, int output_fd, const CheckRoom& room,
                                    std::FILE* err) {
  const int fd = records::open_input(path, output_fd, err);
  if (fd < 0) return std::nullopt;
  records::RecordReader reader(fd, room.buffer);
  FileCheck check = check_records(reader, room.window);
  ::close(fd);
  if (reader.read_error() != 0) {
    std::fprintf(err, "ERROR: cannot read the input file: %s\n", path);
    return std::nullopt;
  }
  return check;
}

}  // namespace navcheck
