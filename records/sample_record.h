// SPDX-License-Identifier: MIT
// Sample records: the fixed-size unit of a record file.
//
// A record file is records back to back, with no header or trailer. Each
// record is 136 bytes: 17 IEEE-754 binary64 values stored little-endian at
// byte offsets 0, 8, ..., 128. Field 0 is a GPS time in seconds.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>

namespace records {

inline constexpr std::size_t kFieldCount = 17;
inline constexpr std::size_t kRecordSize = kFieldCount * sizeof(double);
static_assert(kRecordSize == 136);
static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559,
              "records hold IEEE-754 binary64 values");
static_assert(std::endian::native == std::endian::little ||
                  std::endian::native == std::endian::big,
              "mixed-endian hosts are not supported");

struct SampleRecord {
  std::array<double, kFieldCount> field{};
};

using RecordBytes = std::span<const std::byte, kRecordSize>;

// A double's bits in the file's order from the host's, or back: swapped on
// a big-endian host.
inline std::uint64_t little_endian(std::uint64_t bits) {
  if constexpr (std::endian::native == std::endian::big) {
    // Runs on big-endian hosts only. GCOVR_EXCL_START
    std::uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i, bits >>= 8) swapped = (swapped << 8) | (bits & 0xffU);
    return swapped;
    // GCOVR_EXCL_STOP
  }
  return bits;
}

// The bits of the double stored at p. Inline: checks of every record load
// every field.
inline std::uint64_t load_bits(const std::byte* p) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, p, sizeof bits);
  return little_endian(bits);
}

// Decoding of one record's 136 bytes.
SampleRecord decode_record(RecordBytes bytes);

// Field 0 of a record, as the bits of its double. A time can travel as
// bits: on i386 a double returned from a function passes through the x87
// unit, whose load quietens a signalling NaN.
inline std::uint64_t time_bits(RecordBytes bytes) { return load_bits(bytes.data()); }

}  // namespace records
