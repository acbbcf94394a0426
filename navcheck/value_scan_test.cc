// SPDX-License-Identifier: MIT
#include "value_scan.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace navcheck {
namespace {

// count records as a record file stores them, written byte by byte, least
// significant first, from the bits given, with one double (at position, or
// none when position is past them) not finite; one byte off alignment.
std::vector<std::byte> records_with(std::size_t count, std::size_t position, std::uint64_t odd_one) {
  // The largest finite doubles of both signs, zeros, the smallest subnormal.
  const std::uint64_t finite[] = {0x7fefffffffffffff, 0xffefffffffffffff, 0,
                                  0x8000000000000000, 1, 0x3ff0000000000000};
  std::vector<std::byte> bytes(1 + count * 136);
  for (std::size_t i = 0; i < count * 17; ++i) {
    std::uint64_t bits = i == position ? odd_one : finite[i % std::size(finite)];
    for (std::size_t b = 0; b < 8; ++b, bits >>= 8) bytes[1 + i * 8 + b] = std::byte(bits & 0xff);
  }
  return bytes;
}

// Every version on the host finds a NaN or infinity among the values
// wherever it stands, in the vector steps and in the tail, and none among
// finite values or in a time.
TEST(ValueScan, EveryVersionFindsEachValueThatIsNotFinite) {
  const std::uint64_t not_finite[] = {0x7ff0000000000000, 0xfff0000000000000, 0x7ff8000000000000,
                                      0x7ff4000000000000, 0xffffffffffffffff};
  for (std::size_t count = 1; count <= kScanRecords; ++count) {
    for (std::size_t position = 0; position <= count * 17; ++position) {
      for (const std::uint64_t odd_one : not_finite) {
        const std::vector<std::byte> bytes = records_with(count, position, odd_one);
        const std::byte* p = bytes.data() + 1;
        const bool expected = position < count * 17 && position % 17 != 0;
        SCOPED_TRACE(testing::Message() << count << " records, double " << position << ", bits "
                                        << std::hex << odd_one);
        ASSERT_EQ(values_not_finite_one_by_one(p, count), expected ? 1U : 0U);
        ASSERT_EQ(values_not_finite_by_two(p, count), expected ? 1U : 0U);
        ASSERT_EQ(values_not_finite(p, count), expected ? 1U : 0U);
#if defined(__x86_64__)
        if (__builtin_cpu_supports("avx2")) {
          ASSERT_EQ(values_not_finite_by_four(p, count), expected ? 1U : 0U);
        }
#endif
      }
    }
  }
}

}  // namespace
}  // namespace navcheck
