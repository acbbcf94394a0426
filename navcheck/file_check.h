// SPDX-License-Identifier: MIT
// What one record file holds, decompressed if it is compressed: its whole
// records and the bytes after them, its blank records, its good times and
// their steps, the records whose time is bad or whose values are not
// finite, and the format it was compressed in.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>

#include "decoded_input.h"
#include "record_reader.h"
#include "time_steps.h"

namespace navcheck {

struct FileCheck {
  explicit FileCheck(records::IntervalWindow& window) : steps(window) {}

  std::uint64_t records = 0;
  std::uint64_t extra = 0;      // bytes after the last whole record
  std::uint64_t blank = 0;      // records of zero bytes only, passed over
  std::uint64_t bad_time = 0;   // records, not blank, whose time is not good
  std::uint64_t bad_value = 0;  // ... with a NaN or infinity in fields 1-16
  TimeSteps steps;              // of the good times
  records::Format format = records::Format::raw;
  bool corrupt = false;  // the compressed data is damaged
};

// What checking a file reads into: memory reserved once for the whole run.
struct CheckRoom {
  std::span<std::byte> buffer;  // of the reader
  std::span<std::byte> input;   // of a compressed file's bytes (records::DecodedInput)
  records::IntervalWindow& window;
};

// Checks the file at path, or writes the open or read error to err and
// gives nothing. output_fd: as records::open_input takes it.
std::optional<FileCheck> check_file(const char* path, int output_fd, const CheckRoom& room,
                                    std::FILE* err);

}  // namespace navcheck
