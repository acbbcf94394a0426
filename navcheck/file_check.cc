// SPDX-License-Identifier: MIT
#include "file_check.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "decoded_input.h"
#include "program_io.h"
#include "value_scan.h"

namespace navcheck {
namespace {

using records::kRecordSize;
using records::load_bits;

// Records are checked in blocks that stay in the first-level cache: the
// values of a whole block at once, one record at a time only in a block
// where one is not finite; then the times, one by one. Blocks are small
// enough that most of them take the fast way even in a file of random
// bytes, where one double in 2048 is not finite.
constexpr std::size_t kBlockRecords = kScanRecords;

void check_block(const std::byte* block, std::size_t count, FileCheck& check,
                 records::TimeReading& reading) {
  check.bad_value += values_not_finite(block, count);
  // Most records are of the common kind; each other one takes the rules of
  // records/step_rules.h.
  for (std::size_t r = check.steps.take_plain(block, 0, count, reading); r < count;
       r = check.steps.take_plain(block, r + 1, count, reading)) {
    records::GoodTime good;
    check.steps.add(std::span(&good, records::read_times(block + r * kRecordSize, 1, reading, &good)));
  }
}

void check_chunk(std::span<const std::byte> chunk, FileCheck& check, records::TimeReading& reading) {
  const std::size_t count = chunk.size() / kRecordSize;
  for (std::size_t first = 0; first < count; first += kBlockRecords) {
    check_block(chunk.data() + first * kRecordSize, std::min(kBlockRecords, count - first), check,
                reading);
  }
}

// Checks every record the reader hands out, to the end of the input.
FileCheck check_records(records::RecordReader& reader, records::IntervalWindow& window) {
  FileCheck check(window);
  records::TimeReading reading;
  for (auto chunk = reader.next(); !chunk.empty(); chunk = reader.next()) {
    check_chunk(chunk, check, reading);
  }
  check.steps.finish();
  check.blank = reading.blank;
  check.bad_time = reading.bad_time;
  check.records = reader.bytes_taken() / kRecordSize;
  check.extra = reader.bytes_taken() % kRecordSize;
  return check;
}

}  // namespace

std::optional<FileCheck> check_file(const char* path, int output_fd, const CheckRoom& room,
                                    std::FILE* err) {
  const int fd = records::open_input(path, output_fd, err);
  if (fd < 0) return std::nullopt;
  records::DecodedInput decoded(fd, room.input);
  records::RecordReader reader(decoded, room.buffer);
  FileCheck check = check_records(reader, room.window);
  ::close(fd);
  if (decoded.read_error() != 0) {
    std::fprintf(err, "ERROR: cannot read the input file: %s\n", path);
    return std::nullopt;
  }
  check.format = decoded.format();
  check.corrupt = decoded.corrupt();
  return check;
}

}  // namespace navcheck
