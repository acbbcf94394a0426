// SPDX-License-Identifier: MIT
// The count of values the differential tests draw, NAVTOOLS_DIFF_OPERANDS;
// the values come from tools::Generator.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "generator.h"

namespace testing_support {

// NAVTOOLS_DIFF_OPERANDS as a plain decimal count, fallback when unset, or
// nothing when it is set to anything else ("1e8", "abc", "").
inline std::optional<std::uint64_t> operand_count(std::uint64_t fallback) {
  const char* text = std::getenv("NAVTOOLS_DIFF_OPERANDS");
  if (text == nullptr) return fallback;
  const std::string_view s(text);
  std::uint64_t count = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), count);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return count;
}

}  // namespace testing_support
