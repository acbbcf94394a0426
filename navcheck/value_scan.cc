// SPDX-License-Identifier: MIT
#include "value_scan.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "sample_record.h"

namespace navcheck {
namespace {

// A double is infinite or NaN when its exponent is all ones, which one
// step more carries into the sign bit.
constexpr std::uint64_t kExponent = std::uint64_t{0x7ff} << 52;
constexpr std::uint64_t kExponentStep = std::uint64_t{1} << 52;

// Words: a vector of several doubles' bits taken at once in the host's
// order, which the compiler maps onto the processor's vector registers.
template <typename Words>
bool any_not_finite_in(const std::byte* p, std::size_t count) {
  if constexpr (std::endian::native == std::endian::big) {
    return any_not_finite_one_by_one(p, count);  // GCOVR_EXCL_LINE: big-endian hosts
  }
  constexpr std::size_t kDoubles = sizeof(Words) / sizeof(double);
  Words carries{};
  Words beside{};  // so that two loads go at a time
  for (; count >= 2 * kDoubles; count -= 2 * kDoubles, p += 2 * sizeof(Words)) {
    Words words;
    Words next;
    std::memcpy(&words, p, sizeof words);
    std::memcpy(&next, p + sizeof words, sizeof next);
    carries |= (words & kExponent) + kExponentStep;
    beside |= (next & kExponent) + kExponentStep;
  }
  carries |= beside;
  std::uint64_t any = 0;
  for (std::size_t i = 0; i < kDoubles; ++i) any |= carries[i];
  return (any >> 63) != 0 || any_not_finite_one_by_one(p, count);
}

using Words2 = std::uint64_t __attribute__((vector_size(16)));

}  // namespace

bool any_not_finite_one_by_one(const std::byte* p, std::size_t count) {
  std::uint64_t carries = 0;
  for (std::size_t i = 0; i < count; ++i) {
    carries |= (records::load_bits(p + i * sizeof(double)) & kExponent) + kExponentStep;
  }
  return (carries >> 63) != 0;
}

// On x86-64 with AVX2 only the unit test runs it. GCOVR_EXCL_START
bool any_not_finite_by_two(const std::byte* p, std::size_t count) {
  return any_not_finite_in<Words2>(p, count);
}
// GCOVR_EXCL_STOP

#if defined(__x86_64__)
namespace {
using Words4 = std::uint64_t __attribute__((vector_size(32)));
}  // namespace

__attribute__((target("avx2"))) bool any_not_finite_by_four(const std::byte* p,
                                                             std::size_t count) {
  return any_not_finite_in<Words4>(p, count);
}

bool any_not_finite(const std::byte* p, std::size_t count) {
  // Runs on x86-64 without AVX2. GCOVR_EXCL_START
  if (!__builtin_cpu_supports("avx2")) return any_not_finite_by_two(p, count);
  // GCOVR_EXCL_STOP
  return any_not_finite_by_four(p, count);
}
#else
bool any_not_finite(const std::byte* p, std::size_t count) {
  return any_not_finite_by_two(p, count);
}
#endif

}  // namespace navcheck
