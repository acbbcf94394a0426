// SPDX-License-Identifier: MIT
// Extended against the x87 unit, operand by operand, where long double is
// the x87 format; known answers from that unit everywhere else.
// NAVTOOLS_DIFF_OPERANDS sets the number of operand pairs (CI: 10^8).
#include "extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "operands.h"
#include "sample_record.h"
#include "x87_reference.h"

namespace navdump {
namespace {

std::string bits(Extended x) {
  char text[40];
  std::snprintf(text, sizeof text, "%04x:%016llx", x.sign_exponent(),
                static_cast<unsigned long long>(x.significand()));
  return text;
}

TEST(ExtendedMatchesX87, OperationsAndConversions) {
  if (!x87::kHostIsX87) GTEST_SKIP() << "long double is not the x87 80-bit format here";
  const auto count = testing_support::operand_count(2'000'000);
  ASSERT_TRUE(count) << "NAVTOOLS_DIFF_OPERANDS is not a count";
  testing_support::Generator g(1);
  for (std::uint64_t drawn = 0; drawn < *count; ++drawn) {
    const Extended a = g.extended();
    const Extended b = g.partner(a);
    if (const char* what = x87::check_operations(a, b)) {
      FAIL() << what << " differs for " << bits(a) << ", " << bits(b);
    }
    const double d = g.value();
    ASSERT_TRUE(x87::converts_like_hardware(d)) << std::bit_cast<std::uint64_t>(d);
  }
}

// ---- Known answers, computed on x86-64, that hold on every host

struct KnownAnswer {
  char operation;
  Extended a, b, result;
};

Extended e(std::uint16_t sign_exponent, std::uint64_t significand) {
  return Extended::from_bits(sign_exponent, significand);
}

Extended apply(char operation, Extended a, Extended b) {
  switch (operation) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    default: return a / b;
  }
}

TEST(ExtendedKnownAnswers, OperationsRoundLikeTheX87Unit) {
  const Extended one = e(0x3fff, 0x8000000000000000);
  const KnownAnswer cases[] = {
      {'/', one, e(0x4000, 0xc000000000000000), e(0x3ffd, 0xaaaaaaaaaaaaaaab)},  // 1/3
      // Ties at the 64th bit go to the even neighbour.
      {'+', one, e(0x3fbf, 0x8000000000000000), one},
      {'+', e(0x3fff, 0x8000000000000001), e(0x3fbf, 0x8000000000000000),
       e(0x3fff, 0x8000000000000002)},
      {'-', one, e(0x3fbf, 0x8000000000000000), e(0x3ffe, 0xffffffffffffffff)},
      // Subnormal and overflowing results.
      {'*', e(0x0001, 0x8000000000000000), e(0x3ffe, 0xc000000000000000),
       e(0x0000, 0x6000000000000000)},
      {'/', e(0x0001, 0x8000000000000000), e(0x7ffe, 0x8000000000000000),
       e(0x0000, 0x0000000000000000)},
      {'*', e(0x7ffe, 0x8000000000000000), e(0x4000, 0x8000000000000000),
       e(0x7fff, 0x8000000000000000)},
      // Invalid operations give the negative default NaN; a NaN operand is
      // passed on quietened, the positive one of two equal payloads.
      {'-', e(0x7fff, 0x8000000000000000), e(0x7fff, 0x8000000000000000),
       e(0xffff, 0xc000000000000000)},
      {'*', e(0x0000, 0), e(0xffff, 0x8000000000000000), e(0xffff, 0xc000000000000000)},
      {'/', e(0x8000, 0), e(0x0000, 0), e(0xffff, 0xc000000000000000)},
      {'+', e(0xffff, 0xc000000000000001), e(0x7fff, 0xc000000000000001),
       e(0x7fff, 0xc000000000000001)},
      {'-', one, e(0xffff, 0x8000000000000001), e(0xffff, 0xc000000000000001)},
      // An exact cancellation is +0.
      {'-', e(0x8000, 0), e(0x8000, 0), e(0x0000, 0)},
      // The bits shifted out of the smaller operand still decide rounding.
      {'-', one, e(0x3fbe, 0x8000000000000001), e(0x3ffe, 0xffffffffffffffff)},
      // A subnormal operand is normalised before the product is formed.
      {'*', e(0x3ff0, 0xffffffffffffffff), e(0x000f, 0x8000000000000000),
       e(0x0001, 0x8000000000000000)},
  };
  for (const KnownAnswer& c : cases) {
    EXPECT_EQ(bits(apply(c.operation, c.a, c.b)), bits(c.result))
        << bits(c.a) << ' ' << c.operation << ' ' << bits(c.b);
  }
}

TEST(ExtendedKnownAnswers, DoublesRoundTwiceAndConvertExactly) {
  // 1 + 2^-53 + 2^-64 rounds to 1 + 2^-53 in the format and then, a tie,
  // to 1 in double; a single rounding would give 1 + 2^-52.
  EXPECT_EQ((e(0x3fff, 0x8000000000000400) + e(0x3fbf, 0x8000000000000000)).to_double(), 1.0);
  EXPECT_EQ(e(0x3fff, 0x8000000000000401).to_double(), 1.0 + 0x1p-52);
  EXPECT_EQ(e(0x3c00, 0x8000000000000000).to_double(), 0x1p-1023);  // double subnormal
  EXPECT_EQ(e(0x3bcc, 0x8000000000000000).to_double(), 0.0);  // 2^-1075: a tie, to 0
  EXPECT_EQ(e(0x43fe, 0xfffffffffffffc00).to_double(), std::numeric_limits<double>::infinity());
  EXPECT_EQ(bits(Extended(std::numeric_limits<double>::denorm_min())), "3bcd:8000000000000000");
  EXPECT_EQ(bits(Extended(std::bit_cast<double>(0xfff0000000000001))), "ffff:c000000000000800");
  EXPECT_EQ(std::bit_cast<std::uint64_t>(e(0xffff, 0x8000000000000801).to_double()),
            0xfff8000000000001U);
  EXPECT_EQ(bits(kDegreesPerRadian), "4004:e52ee0d31e0fbdc3");
  // A subtrahend read from memory keeps its signalling NaN signalling, so
  // the quiet NaN in the minuend wins despite its smaller payload.
  const double minuend = std::bit_cast<double>(0xfff8000000000000);
  const double subtrahend = std::bit_cast<double>(0x7ff4000000000000);
  EXPECT_TRUE(std::signbit(subtract_double(Extended(minuend), subtrahend).to_double()));
  EXPECT_FALSE(std::signbit((Extended(minuend) - Extended(subtrahend)).to_double()));
}

TEST(ExtendedKnownAnswers, TruncationTowardZero) {
  EXPECT_EQ(e(0xc01c, 0xfffffffffffffffe).truncate_to_int32(), -1073741823);
  EXPECT_EQ(e(0x3ffe, 0xffffffffffffffff).truncate_to_int32(), 0);
  EXPECT_EQ(e(0x401d, 0xfffffffffffffffe).truncate_to_int32(), 2147483647);
  // Outside the range and NaN: the x87 unit's integer indefinite.
  EXPECT_EQ(e(0x401e, 0x8000000000000000).truncate_to_int32(), INT32_MIN);
  EXPECT_EQ(e(0x401e, 0xc000000000000000).truncate_to_int32(), INT32_MIN);  // 3 * 2^30
  EXPECT_EQ(e(0xffff, 0xc000000000000000).truncate_to_int32(), INT32_MIN);
}

}  // namespace
}  // namespace navdump
