// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as a record file. Its second whole record
// (its first, when it holds one), angles converted, must list as the
// reference prints it (the quoted printf formats with x87 arithmetic), with
// the first record's time as t0. One block an input keeps the executions
// many.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "x87_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t whole = std::min<std::size_t>(size / records::kRecordSize, 2);
  if (!navdump::x87::kHostIsX87 || whole == 0) return 0;
  const auto record = [data](std::size_t i) {
    return std::span<const std::byte, records::kRecordSize>(
        reinterpret_cast<const std::byte*>(data) + i * records::kRecordSize, records::kRecordSize);
  };
  const std::string mismatch = navdump::x87::check_block(records::decode_record(record(whole - 1)),
                                                         records::time_bits(record(0)));
  if (!mismatch.empty()) {
    std::fprintf(stderr, "block differs from the reference\n%s\n", mismatch.c_str());
    std::abort();
  }
  return 0;
}
