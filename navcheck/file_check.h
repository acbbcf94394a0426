// SPDX-License-Identifier: MIT
// What one record file holds: its whole records and the bytes after them,
// its times and their steps, the records whose time or values are not
// finite, and the compressed format it begins like, if any.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>

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
  const char* compression = nullptr;  // "gzip", "xz", "zstd", "bzip2"
  bool corrupt = false;               // the compressed stream is damaged
};

// What checking a file reads into: memory reserved once for the whole run.
struct CheckRoom {
  std::span<std::byte> buffer;  // of the reader
  records::IntervalWindow& window;
};

// Checks the file at path, or writes the open or read error to err and
// gives nothing. output_fd: as records::open_input takes it.
std::optional<FileCheck> check_file(const char* path, int output_fd, const CheckRoom& room,
                                    std::FILE* err);

}  // namespace navcheck
