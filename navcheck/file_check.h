// SPDX-License-Identifier: MIT
// What one record file holds: its whole records and the bytes after them,
// its times and their steps, the records whose time or values are not
// finite, and the format it was compressed in, if any.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>

#include "record_reader.h"
#include "time_steps.h"

namespace navcheck {

struct FileCheck {
  std::uint64_t records = 0;
  std::uint64_t extra = 0;          // bytes after the last whole record
  std::uint64_t bad_time = 0;       // records with a NaN or infinite time
  std::uint64_t bad_value = 0;      // ... or a NaN or infinity in fields 1-16
  TimeSteps steps;                  // of the finite times
  const char* compression = nullptr;  // "gzip", "xz", "zstd", "bzip2"
  bool corrupt = false;               // the compressed data is damaged
};

// Checks the records of the file at path, decompressed if it is compressed,
// through buffer and compressed bytes through input (see
// records::DecodedInput), or writes the open or read error to err and gives
// nothing. output_fd: as records::open_input takes it.
std::optional<FileCheck> check_file(const char* path, int output_fd, std::span<std::byte> buffer,
                                    std::span<std::byte> input, std::FILE* err);

}  // namespace navcheck
