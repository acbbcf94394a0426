// SPDX-License-Identifier: MIT
#include "sample_record.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>

namespace navdump {
namespace {

static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559,
              "records hold IEEE-754 binary64 values");
static_assert(std::endian::native == std::endian::little ||
                  std::endian::native == std::endian::big,
              "mixed-endian hosts are not supported");

// Runs on big-endian hosts only. GCOVR_EXCL_START
[[maybe_unused]] std::uint64_t byte_swap(std::uint64_t v) {
  std::uint64_t out = 0;
  for (int i = 0; i < 8; ++i) {
    out = (out << 8) | (v & 0xffU);
    v >>= 8;
  }
  return out;
}
// GCOVR_EXCL_STOP

// The file is little-endian; a big-endian host swaps each value.
std::uint64_t load_le_bits(const std::byte* p) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, p, sizeof bits);
  if constexpr (std::endian::native == std::endian::big) bits = byte_swap(bits);
  return bits;
}

}  // namespace

SampleRecord decode_record(std::span<const std::byte, kRecordSize> bytes) {
  SampleRecord record;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const std::uint64_t bits = load_le_bits(bytes.data() + i * sizeof(double));
    std::memcpy(&record.field[i], &bits, sizeof bits);
  }
  return record;
}

std::uint64_t time_bits(std::span<const std::byte, kRecordSize> bytes) {
  return load_le_bits(bytes.data());
}

void convert_angles(SampleRecord& record) {
  for (std::size_t i : kAngleFields) {
    record.field[i] = (Extended(record.field[i]) * kDegreesPerRadian).to_double();
  }
}

}  // namespace navdump
