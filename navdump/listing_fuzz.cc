// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as a record file. Its first whole records,
// their angles converted, must list as the reference prints them (the
// quoted printf formats with x87 arithmetic), with the first record's time
// as t0. Two records an input keep the executions many.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "x87_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!navdump::x87::kHostIsX87) return 0;
  const auto* bytes = reinterpret_cast<const std::byte*>(data);
  std::uint64_t t0_bits = 0;
  const std::size_t checked = std::min(size, 2 * navdump::kRecordSize);
  for (std::size_t at = 0; at + navdump::kRecordSize <= checked; at += navdump::kRecordSize) {
    const std::span<const std::byte, navdump::kRecordSize> record(bytes + at, navdump::kRecordSize);
    if (at == 0) t0_bits = navdump::time_bits(record);
    const std::string mismatch = navdump::x87::check_block(navdump::decode_record(record), t0_bits);
    if (!mismatch.empty()) {
      std::fprintf(stderr, "block differs from the reference\n%s\n", mismatch.c_str());
      std::abort();
    }
  }
  return 0;
}
