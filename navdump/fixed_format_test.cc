// SPDX-License-Identifier: MIT
// The formatter against snprintf with the listing's quoted formats, which
// define the output. NAVTOOLS_DIFF_OPERANDS sets how many doubles are
// compared (CI runs 10^8); the work is shared among the machine's cores.
#include "fixed_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace navdump {
namespace {

constexpr std::uint64_t kDefaultOperands = 2'000'000;

std::uint64_t operand_count() {
  const char* text = std::getenv("NAVTOOLS_DIFF_OPERANDS");
  if (text == nullptr) return kDefaultOperands;
  std::uint64_t count = 0;
  const char* end = text + std::strlen(text);
  const auto [ptr, ec] = std::from_chars(text, end, count);
  if (ec != std::errc() || ptr != end) {
    ADD_FAILURE() << "NAVTOOLS_DIFF_OPERANDS is not a count: " << text;
    return kDefaultOperands;
  }
  return count;
}

// One quoted format, its literal kept for snprintf, and the text after it.
struct FixedFormat {
  const char* quoted;
  int (*print)(char* buffer, std::size_t size, double value);
  int width;
  int precision;
  const char* tail;
};

const FixedFormat kFormats[] = {
    {"%22.13lf", [](char* b, std::size_t n, double v) { return std::snprintf(b, n, "%22.13lf", v); },
     22, 13, ""},
    {"%21.14lf ", [](char* b, std::size_t n, double v) { return std::snprintf(b, n, "%21.14lf ", v); },
     21, 14, " "},
    {"%20.15lf ", [](char* b, std::size_t n, double v) { return std::snprintf(b, n, "%20.15lf ", v); },
     20, 15, " "},
    {"%20.15lf\\n", [](char* b, std::size_t n, double v) { return std::snprintf(b, n, "%20.15lf\n", v); },
     20, 15, "\n"},
};
constexpr std::size_t kFormatCount = std::size(kFormats);

// Counter-based random bits: operand i is the same whatever thread makes it.
std::uint64_t mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15U;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9U;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebU;
  return x ^ (x >> 31);
}

double unit(std::uint64_t bits) { return static_cast<double>(bits >> 11) * 0x1p-53; }
double with_sign(double v, std::uint64_t bits) { return (bits & 1U) != 0 ? -v : v; }
double steps_away(double v, int steps) {
  for (; steps > 0; --steps) v = std::nextafter(v, std::numeric_limits<double>::infinity());
  for (; steps < 0; ++steps) v = std::nextafter(v, -std::numeric_limits<double>::infinity());
  return v;
}

// Decimal ties at the last printed digit of precision p are the odd
// multiples of 2^-(p+1); half of them are taken exactly, half one step off.
double tie_or_neighbour(std::uint64_t a, std::uint64_t b, int precision) {
  const std::uint64_t odd = ((a >> 11) | 1U) >> (b % 53) | 1U;
  const double tie = std::ldexp(static_cast<double>(odd), -(precision + 1));
  const int steps[] = {0, 0, 1, -1};
  return with_sign(steps_away(tie, steps[(b >> 8) % 4]), b >> 16);
}

// Just below and above the rounding boundary at 10^j - 0.5*10^-p, where
// rounding carries into a new integer digit (9.9999999999999995 and the like).
double near_carry(std::uint64_t b, int precision) {
  const int j = static_cast<int>(b % 23);
  const double boundary = std::pow(10.0, j) - 0.5 * std::pow(10.0, -precision);
  return with_sign(steps_away(boundary, static_cast<int>((b >> 8) % 9) - 4), b >> 16);
}

double special(std::uint64_t a, std::uint64_t b) {
  const double max = std::numeric_limits<double>::max();
  switch (b % 8) {
    case 0: return with_sign(0.0, a);
    case 1: return with_sign(std::numeric_limits<double>::infinity(), a);
    case 2: {  // NaN of either sign, quiet or signalling, any payload
      const std::uint64_t payload = (a >> 12) == 0 ? 1 : a >> 12;
      return std::bit_cast<double>((a & (std::uint64_t{1} << 63)) | 0x7ff0000000000000U | payload);
    }
    case 3: return with_sign(steps_away(max, -static_cast<int>((a >> 1) % 4)), a);
    case 4: return with_sign(std::ldexp(1.0 + unit(a), 900 + static_cast<int>(b % 123)), b >> 8);
    case 5: return with_sign(std::numeric_limits<double>::denorm_min(), a);
    case 6: return with_sign(std::numeric_limits<double>::min(), a);
    default: return std::bit_cast<double>(a & 0x800fffffffffffffU);  // subnormal
  }
}

// Operand i: one value class chosen round-robin from 32 slots, so that the
// costly wide values stay a small share of the run.
double operand(std::uint64_t i, int precision) {
  const std::uint64_t a = mix(i);
  const std::uint64_t b = mix(a);
  const std::uint64_t slot = i % 32;
  if (slot < 8) {  // decimal-looking values of a few digits, as recorded
    const double digits = static_cast<double>(b % 1'000'000'000);
    return with_sign(digits / std::pow(10.0, static_cast<double>(a % 10)), b >> 40);
  }
  if (slot < 14) return (unit(a) * 2.0 - 1.0) * 1e6;
  if (slot < 20) return tie_or_neighbour(a, b, precision);
  if (slot < 24) {  // every magnitude: the field widens past its width
    const int exponent = static_cast<int>(b % 48) - 17;
    return with_sign((1.0 + 9.0 * unit(a)) * std::pow(10.0, exponent), b >> 8);
  }
  if (slot < 28) return near_carry(b, precision);
  if (slot < 30) return special(a, b);
  return std::bit_cast<double>(a);  // any bit pattern
}

struct Mismatches {
  std::uint64_t count = 0;
  std::vector<std::string> first;
};

// Compares operands [begin, end); the formatter writes into a heap buffer of
// exactly the promised capacity, so that a sanitizer sees any overrun.
Mismatches compare_operands(std::uint64_t begin, std::uint64_t end) {
  Mismatches found;
  std::vector<char> ours;
  char expected[400];
  for (std::uint64_t i = begin; i < end; ++i) {
    const FixedFormat& f = kFormats[i % kFormatCount];
    const double value = operand(i / kFormatCount, f.precision);
    const int length = f.print(expected, sizeof expected, value);
    ours.resize(fixed_field_capacity(static_cast<std::size_t>(f.width),
                                     static_cast<std::size_t>(f.precision)) +
                std::strlen(f.tail));
    char* const last = append_text(append_fixed(ours.data(), value, f.width, f.precision), f.tail);
    const std::string_view got(ours.data(), static_cast<std::size_t>(last - ours.data()));
    if (length < 0 || got != std::string_view(expected, static_cast<std::size_t>(length))) {
      if (++found.count <= 5) {
        char hex[64];
        std::snprintf(hex, sizeof hex, "%a", value);
        found.first.push_back(std::string(f.quoted) + " of " + hex + ": printf '" + expected +
                              "', formatter '" + std::string(got) + "'");
      }
    }
  }
  return found;
}

TEST(FixedFormat, MatchesPrintfOnEveryValueClass) {
  const std::uint64_t total = operand_count();
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1U, 16U);
  std::vector<Mismatches> results(threads);
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t) {
    workers.emplace_back([&, t] {
      results[t] = compare_operands(total * t / threads, total * (t + 1) / threads);
    });
  }
  for (auto& w : workers) w.join();
  std::uint64_t mismatches = 0;
  for (const auto& r : results) {
    mismatches += r.count;
    for (const auto& line : r.first) ADD_FAILURE() << line;
  }
  EXPECT_EQ(mismatches, 0U) << "of " << total << " operands";
}

// "%3d" and "%2d" for the day and clock fields.
bool int_matches_printf(std::int32_t value) {
  char expected[2][16];
  std::snprintf(expected[0], sizeof expected[0], "%3d", value);
  std::snprintf(expected[1], sizeof expected[1], "%2d", value);
  char ours[2][16];
  *append_int(ours[0], value, 3) = '\0';
  *append_int(ours[1], value, 2) = '\0';
  return std::strcmp(expected[0], ours[0]) == 0 && std::strcmp(expected[1], ours[1]) == 0;
}

TEST(FixedFormat, IntFieldsMatchPrintf) {
  std::vector<std::int32_t> values = {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 1};
  for (std::int64_t p = 10; p <= INT32_MAX; p *= 10) {  // where a digit is added
    for (const std::int64_t v : {p - 1, p, -p + 1, -p}) values.push_back(static_cast<std::int32_t>(v));
  }
  for (std::int32_t v = -100'000; v <= 100'000; ++v) values.push_back(v);
  const std::uint64_t random_count = operand_count() / 16;
  for (std::uint64_t i = 0; i < random_count; ++i) {
    values.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(mix(i))));
  }
  std::size_t mismatches = 0;
  for (const std::int32_t v : values) {
    if (!int_matches_printf(v) && ++mismatches <= 5) ADD_FAILURE() << "int " << v;
  }
  EXPECT_EQ(mismatches, 0U);
}

}  // namespace
}  // namespace navdump
