// SPDX-License-Identifier: MIT
#include "sample_record.h"

namespace records {

SampleRecord decode_record(RecordBytes bytes) {
  SampleRecord record;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const std::uint64_t bits = load_bits(bytes.data() + i * sizeof(double));
    std::memcpy(&record.field[i], &bits, sizeof bits);
  }
  return record;
}

}  // namespace records
