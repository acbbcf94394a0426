// SPDX-License-Identifier: MIT
#include "sample_writer.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace tools {

std::array<std::byte, records::kRecordSize> encode_record(const records::SampleRecord& record) {
  std::array<std::byte, records::kRecordSize> bytes{};
  for (std::size_t i = 0; i < records::kFieldCount; ++i) {
    const std::uint64_t bits = records::little_endian(std::bit_cast<std::uint64_t>(record.field[i]));
    std::memcpy(bytes.data() + i * sizeof bits, &bits, sizeof bits);
  }
  return bytes;
}

records::SampleRecord synthetic_record(std::int64_t index, double start_time,
                                       double rate_hz) {
  const double seconds = static_cast<double>(index) / rate_hz;
  const double phase = 2.0 * 3.141592653589793 * seconds;
  records::SampleRecord r;
  r.field[0] = start_time + seconds;
  r.field[1] = 0.05 * std::sin(phase / 30.0);           // roll
  r.field[2] = 0.02 * std::cos(phase / 45.0);           // pitch
  r.field[3] = 3000.0 + 25.0 * std::sin(phase / 600.0);  // altitude, m
  r.field[4] = 120.0 + 0.5 * std::cos(phase / 20.0);    // speed, m/s
  r.field[5] = 0.3 * std::sin(phase / 7.0);             // vertical speed
  r.field[6] = 1013.25 - 0.001 * seconds;               // pressure, hPa
  r.field[7] = 1.2 + 0.01 * std::sin(phase / 120.0);    // heading
  r.field[8] = 0.61 + 1e-6 * seconds;                   // latitude
  r.field[9] = -1.73 + 2e-6 * seconds;                  // longitude
  r.field[10] = 0.004 * std::sin(phase / 3.0);          // drift angle
  for (std::size_t i = 11; i < records::kFieldCount; ++i) {
    r.field[i] = std::sin(phase / static_cast<double>(i)) * static_cast<double>(i);
  }
  return r;
}

bool write_records(std::FILE* out, std::span<const records::SampleRecord> records) {
  for (const auto& record : records) {
    const auto bytes = encode_record(record);
    if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) return false;
  }
  return true;
}

bool write_synthetic(std::FILE* out, std::int64_t count, double start_time,
                     double rate_hz) {
  constexpr std::int64_t kChunk = 4096;
  std::vector<records::SampleRecord> chunk;
  for (std::int64_t first = 0; first < count; first += kChunk) {
    chunk.clear();
    for (std::int64_t i = first; i < count && i < first + kChunk; ++i) {
      chunk.push_back(synthetic_record(i, start_time, rate_hz));
    }
    if (!write_records(out, chunk)) return false;
  }
  return true;
}

bool write_record_file(const std::string& path,
                       std::span<const records::SampleRecord> records,
                       std::span<const std::byte> trailing) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = write_records(out, records);
  ok = ok && (trailing.empty() ||
              std::fwrite(trailing.data(), 1, trailing.size(), out) == trailing.size());
  return std::fclose(out) == 0 && ok;
}

}  // namespace tools
