// SPDX-License-Identifier: MIT
// Scanning records for values that are not finite (NaN or infinite) among
// fields 1 to 16, where most of the checking time goes: several doubles at
// a time in vector registers, the times (field 0) masked out.
#pragma once

#include <cstddef>

namespace navcheck {

// The records a scan takes at most.
inline constexpr std::size_t kScanRecords = 32;

// How many of the count records at p (at most kScanRecords), stored as a
// record file stores them, have an infinity or a NaN among fields 1 to 16:
// one double at a time.
std::size_t values_not_finite_one_by_one(const std::byte* p, std::size_t count);

// The same, two doubles at a time: any processor.
std::size_t values_not_finite_by_two(const std::byte* p, std::size_t count);

#if defined(__x86_64__)
// The same, four doubles at a time: x86-64 processors with AVX2 only.
std::size_t values_not_finite_by_four(const std::byte* p, std::size_t count);
#endif

// The same, as fast as this processor can.
std::size_t values_not_finite(const std::byte* p, std::size_t count);

}  // namespace navcheck
