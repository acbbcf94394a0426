// SPDX-License-Identifier: MIT
#include "value_scan.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "sample_record.h"

namespace navcheck {
namespace {

using records::kFieldCount;

// A double is infinite or NaN when its exponent is all ones, which one
// step more carries into the sign bit.
constexpr std::uint64_t kExponent = std::uint64_t{0x7ff} << 52;
constexpr std::uint64_t kExponentStep = std::uint64_t{1} << 52;

// For each double of kScanRecords records: all ones for a value, zero for a
// time, which the scan leaves to the checks of times.
constexpr std::array<std::uint64_t, kScanRecords * kFieldCount> kValues = [] {
  std::array<std::uint64_t, kScanRecords * kFieldCount> mask{};
  for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = i % kFieldCount == 0 ? 0 : ~std::uint64_t{0};
  return mask;
}();

// The sign bit of the carries of the doubles from first to first + count.
std::uint64_t carries_one_by_one(const std::byte* p, std::size_t first, std::size_t count) {
  std::uint64_t carries = 0;
  for (std::size_t i = first; i < first + count; ++i) {
    carries |= ((records::load_bits(p + i * sizeof(double)) & kExponent) + kExponentStep) & kValues[i];
  }
  return carries >> 63;
}

// Words: a vector of several doubles' bits taken at once in the host's
// order, which the compiler maps onto the processor's vector registers.
template <typename Words>
bool any_not_finite_in(const std::byte* p, std::size_t count) {
  const std::size_t doubles = count * kFieldCount;
  if constexpr (std::endian::native == std::endian::big) {
    return carries_one_by_one(p, 0, doubles) != 0;  // GCOVR_EXCL_LINE: big-endian hosts
  }
  constexpr std::size_t kLanes = sizeof(Words) / sizeof(double);
  Words carries{};
  Words beside{};  // so that two loads go at a time
  std::size_t i = 0;
  for (; i + 2 * kLanes <= doubles; i += 2 * kLanes) {
    Words words;
    Words next;
    Words mask;
    Words next_mask;
    std::memcpy(&words, p + i * sizeof(double), sizeof words);
    std::memcpy(&next, p + (i + kLanes) * sizeof(double), sizeof next);
    std::memcpy(&mask, &kValues[i], sizeof mask);
    std::memcpy(&next_mask, &kValues[i + kLanes], sizeof next_mask);
    carries |= ((words & kExponent) + kExponentStep) & mask;
    beside |= ((next & kExponent) + kExponentStep) & next_mask;
  }
  carries |= beside;
  std::uint64_t any = 0;
  for (std::size_t lane = 0; lane < kLanes; ++lane) any |= carries[lane];
  return (any >> 63) != 0 || carries_one_by_one(p, i, doubles - i) != 0;
}

using Words2 = std::uint64_t __attribute__((vector_size(16)));

}  // namespace

bool any_value_not_finite_one_by_one(const std::byte* p, std::size_t count) {
  return carries_one_by_one(p, 0, count * kFieldCount) != 0;
}

// On x86-64 with AVX2 only the unit test runs it. GCOVR_EXCL_START
bool any_value_not_finite_by_two(const std::byte* p, std::size_t count) {
  return any_not_finite_in<Words2>(p, count);
}
// GCOVR_EXCL_STOP

#if defined(__x86_64__)
namespace {
using Words4 = std::uint64_t __attribute__((vector_size(32)));
}  // namespace

__attribute__((target("avx2"))) bool any_value_not_finite_by_four(const std::byte* p,
                                                                   std::size_t count) {
  return any_not_finite_in<Words4>(p, count);
}

bool any_value_not_finite(const std::byte* p, std::size_t count) {
  // Runs on x86-64 without AVX2. GCOVR_EXCL_START
  if (!__builtin_cpu_supports("avx2")) return any_value_not_finite_by_two(p, count);
  // GCOVR_EXCL_STOP
  return any_value_not_finite_by_four(p, count);
}
#else
bool any_value_not_finite(const std::byte* p, std::size_t count) {
  return any_value_not_finite_by_two(p, count);
}
#endif

}  // namespace navcheck
