// SPDX-License-Identifier: MIT
// Scanning record bytes for values that are not finite (NaN or infinite),
// which is where most of the checking time goes: several doubles at a time
// in vector registers, one at a time for a closer look.
#pragma once

#include <cstddef>

namespace navcheck {

// Whether any of the count doubles at p, stored as a record file stores
// them, is infinite or NaN: one double at a time.
bool any_not_finite_one_by_one(const std::byte* p, std::size_t count);

// The same, two doubles at a time: any processor.
bool any_not_finite_by_two(const std::byte* p, std::size_t count);

#if defined(__x86_64__)
// The same, four doubles at a time: x86-64 processors with AVX2 only.
bool any_not_finite_by_four(const std::byte* p, std::size_t count);
#endif

// The same, as fast as this processor can.
bool any_not_finite(const std::byte* p, std::size_t count);

}  // namespace navcheck
