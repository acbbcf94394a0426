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

// For each double of kScanRecords records, the bits to look at: the
// exponent of a value, none of a time, which the scan leaves to the checks
// of times.
constexpr std::array<std::uint64_t, kScanRecords * kFieldCount> kExponents = [] {
  std::array<std::uint64_t, kScanRecords * kFieldCount> mask{};
  for (std::size_t i = 0; i != mask.size(); ++i) mask[i] = i % kFieldCount == 0 ? 0 : kExponent;
  return mask;
}();

// The sign bit of the carries of the doubles from first to first + count.
std::uint64_t carries_one_by_one(const std::byte* p, std::size_t first, std::size_t count) {
  std::uint64_t carries = 0;
  for (std::size_t i = first; i < first + count; ++i) {
    carries |= (records::load_bits(p + i * sizeof(double)) & kExponents[i]) + kExponentStep;
  }
  return carries >> 63;
}

// Words: a vector of several doubles' bits taken at once in the host's
// order, which the compiler maps onto the processor's vector registers.
// Whether any of the doubles from first on, a multiple of two vectors'
// doubles, carries into the sign bit; two loads go at a time. Inlined, so
// that it takes the instructions of the function it is in.
template <typename Words>
[[gnu::always_inline]] inline bool any_carry_in(const std::byte* p, std::size_t first,
                                                std::size_t count) {
  constexpr std::size_t kLanes = sizeof(Words) / sizeof(double);
  Words carries{};
  Words beside{};
  for (std::size_t i = first; i < first + count; i += 2 * kLanes) {
    Words words;
    Words next;
    Words mask;
    Words next_mask;
    std::memcpy(&words, p + i * sizeof(double), sizeof words);
    std::memcpy(&next, p + (i + kLanes) * sizeof(double), sizeof next);
    std::memcpy(&mask, &kExponents[i], sizeof mask);
    std::memcpy(&next_mask, &kExponents[i + kLanes], sizeof next_mask);
    carries |= (words & mask) + kExponentStep;
    beside |= (next & next_mask) + kExponentStep;
  }
  carries |= beside;
  std::uint64_t any = 0;
  for (std::size_t lane = 0; lane < kLanes; ++lane) any |= carries[lane];
  return (any >> 63) != 0;
}

// A whole block at once; one record at a time only in a block that has one.
template <typename Words>
[[gnu::always_inline]] inline std::size_t values_not_finite_in(const std::byte* p, std::size_t count) {
  if constexpr (std::endian::native == std::endian::big) {
    return values_not_finite_one_by_one(p, count);  // GCOVR_EXCL_LINE: big-endian hosts
  }
  constexpr std::size_t kStep = 2 * sizeof(Words) / sizeof(double);
  const std::size_t doubles = count * kFieldCount;
  const std::size_t vectored = doubles / kStep * kStep;
  if (!any_carry_in<Words>(p, 0, vectored) &&
      carries_one_by_one(p, vectored, doubles - vectored) == 0) {
    return 0;
  }
  // Fields 1 to 16 of a record: 16 doubles, a whole number of steps.
  static_assert((kFieldCount - 1) % kStep == 0);
  std::size_t found = 0;
  for (std::size_t r = 0; r < count; ++r) {
    found += any_carry_in<Words>(p + r * records::kRecordSize, 1, kFieldCount - 1) ? 1 : 0;
  }
  return found;
}

using Words2 = std::uint64_t __attribute__((vector_size(16)));

}  // namespace

// On little-endian hosts only the unit test runs it. GCOVR_EXCL_START
std::size_t values_not_finite_one_by_one(const std::byte* p, std::size_t count) {
  std::size_t found = 0;
  for (std::size_t r = 0; r < count; ++r) {
    found += carries_one_by_one(p + r * records::kRecordSize, 0, kFieldCount);
  }
  return found;
}
// GCOVR_EXCL_STOP

// On x86-64 with AVX2 only the unit test runs it. GCOVR_EXCL_START
std::size_t values_not_finite_by_two(const std::byte* p, std::size_t count) {
  return values_not_finite_in<Words2>(p, count);
}
// GCOVR_EXCL_STOP

#if defined(__x86_64__)
namespace {
using Words4 = std::uint64_t __attribute__((vector_size(32)));
}  // namespace

__attribute__((target("avx2"))) std::size_t values_not_finite_by_four(const std::byte* p,
                                                                      std::size_t count) {
  return values_not_finite_in<Words4>(p, count);
}

std::size_t values_not_finite(const std::byte* p, std::size_t count) {
  // Runs on x86-64 without AVX2. GCOVR_EXCL_START
  if (!__builtin_cpu_supports("avx2")) return values_not_finite_by_two(p, count);
  // GCOVR_EXCL_STOP
  return values_not_finite_by_four(p, count);
}
#else
std::size_t values_not_finite(const std::byte* p, std::size_t count) {
  return values_not_finite_by_two(p, count);
}
#endif

}  // namespace navcheck
