// SPDX-License-Identifier: MIT
// Writing sample record files for tests, demos and benchmarks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "sample_record.h"

namespace tools {

// The status of every tool that fails; the shell sees 247.
inline constexpr int kFailureStatus = -9;

// The 136 bytes of a record as the file holds them: 17 little-endian doubles.
std::array<std::byte, records::kRecordSize> encode_record(const records::SampleRecord& record);

// A plausible record of a steady flight: time start + index / rate, smoothly
// varying attitude angles in radians, and slowly drifting other values.
records::SampleRecord synthetic_record(std::int64_t index, double start_time,
                                       double rate_hz);

// Appends records to an open stream; false on a write error.
bool write_records(std::FILE* out, std::span<const records::SampleRecord> records);

// Writes count synthetic records to out; false on a write error.
bool write_synthetic(std::FILE* out, std::int64_t count, double start_time,
                     double rate_hz);

// Creates or replaces a file with the given records and any extra bytes
// behind them; false on failure.
bool write_record_file(const std::string& path,
                       std::span<const records::SampleRecord> records,
                       std::span<const std::byte> trailing = {});

}  // namespace tools
