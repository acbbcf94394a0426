// SPDX-License-Identifier: MIT
// Extended against the x87 unit, operand by operand, where long double is
// the x87 format; known answers from that unit everywhere else. Built twice:
// once as the library is, once with the portable two-word arithmetic.
// NAVTOOLS_DIFF_OPERANDS sets the number of operands each test draws.
#include "extended.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "listing.h"
#include "sample_record.h"
#include "x87_reference.h"

namespace navdump {
namespace {

std::uint64_t operand_count() {
  const char* text = std::getenv("NAVTOOLS_DIFF_OPERANDS");
  return text != nullptr ? std::strtoull(text, nullptr, 10) : 2'000'000;
}

// splitmix64: fast, and the same sequence everywhere.
struct Generator {
  std::uint64_t state;
  std::uint64_t next() {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15U);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9U;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebU;
    return z ^ (z >> 31);
  }
  std::uint64_t below(std::uint64_t n) { return next() % n; }
  bool coin() { return (next() & 1) != 0; }
  std::uint16_t sign() { return coin() ? 0x8000 : 0; }
};

constexpr std::uint16_t kBias = 16383;

// ---- Operand classes

Extended special(Generator& g) {
  switch (g.below(5)) {
    case 0: return x87::canonical(g.sign(), 0);                          // zero
    case 1: return x87::canonical(g.sign(), g.next() >> g.below(64));    // subnormal
    case 2: return x87::canonical(g.sign() | 0x7fff, 0);                 // infinity
    case 3: return x87::canonical(g.sign() | 0x7fff, g.next() | std::uint64_t{1} << 62);
    default: {  // signalling NaN, never with the payload of infinity
      const std::uint64_t payload = (g.next() >> g.below(63)) & ~(std::uint64_t{1} << 62);
      return x87::canonical(g.sign() | 0x7fff, payload == 0 ? 1 : payload);
    }
  }
}

// Significands with few bits set: exact products and sums land on ties.
std::uint64_t short_significand(Generator& g) {
  const int width = 1 + static_cast<int>(g.below(34));
  return (g.next() | std::uint64_t{1} << 63) >> (64 - width) << (64 - width);
}

std::uint64_t significand_near_power_of_two(Generator& g) {
  const std::uint64_t step = g.next() >> (40 + g.below(24));
  return g.coin() ? (std::uint64_t{1} << 63) + step : ~std::uint64_t{0} - step;
}

// Exponents at the ends of the range and at the double's limits.
std::uint16_t edge_exponent(Generator& g) {
  const int centres[] = {1, 0x7ffe, kBias - 1022, kBias - 1074, kBias + 1023, kBias};
  const int e = centres[g.below(6)] + static_cast<int>(g.below(130)) - 65;
  return static_cast<std::uint16_t>(std::clamp(e, 1, 0x7ffe));
}

double any_double(Generator& g) {
  switch (g.below(4)) {
    case 0: return std::bit_cast<double>(g.next());
    case 1: return std::ldexp(static_cast<double>(g.next() >> (11 + g.below(50))),
                              static_cast<int>(g.below(200)) - 100);  // short
    case 2: return special(g).to_double();
    default: {  // signalling NaN payloads
      const std::uint64_t payload = (g.next() >> 13) | 1;
      return std::bit_cast<double>(std::uint64_t{0x7ff} << 52 | payload |
                                   (g.coin() ? std::uint64_t{1} << 63 : 0));
    }
  }
}

Extended operand(Generator& g) {
  switch (g.below(6)) {
    case 0: return x87::canonical(static_cast<std::uint16_t>(g.next()), g.next());
    case 1: return x87::canonical(g.sign() | (kBias - 40 + g.below(80)), short_significand(g));
    case 2: return x87::canonical(g.sign() | (kBias - 40 + g.below(80)),
                                  significand_near_power_of_two(g));
    case 3: return x87::canonical(g.sign() | edge_exponent(g), g.coin() ? g.next()
                                                              : short_significand(g));
    case 4: return special(g);
    default: return Extended(any_double(g));
  }
}

// The second operand, often placed near the first so that sums align,
// cancel or tie, and quotients and products reach the ends of the range.
Extended partner(Generator& g, Extended a) {
  const int e = a.sign_exponent() & 0x7fff;
  int exponent = 0;
  switch (g.below(4)) {
    case 0: return operand(g);
    case 1: exponent = e + static_cast<int>(g.below(141)) - 70; break;
    case 2: exponent = 2 * kBias - e + static_cast<int>(g.below(11)) - 5; break;  // product near 1
    default: {  // product or quotient near overflow, underflow or deep in the subnormals
      const int scales[] = {0x3fff, -0x3ffe, -0x3ffe - 64};
      const int scale = scales[g.below(3)] + static_cast<int>(g.below(5)) - 2;
      exponent = g.coin() ? 2 * kBias - e + scale : e - scale;
      break;
    }
  }
  const std::uint64_t significand = g.coin() ? short_significand(g)
                                             : g.coin() ? g.next()
                                                        : significand_near_power_of_two(g);
  return x87::canonical(g.sign() | static_cast<std::uint16_t>(std::clamp(exponent, 0, 0x7ffe)),
                        significand);
}

// Times near the boundaries of the breakdown's units, short times, and times
// near the end of the range.
double time_operand(Generator& g) {
  const double units[] = {86400.0, 3600.0, 60.0, 1.0, 0.01, 2147558400.0};
  double t = 0.0;
  switch (g.below(5)) {
    case 0: t = std::bit_cast<double>(g.next()); break;
    case 1: t = static_cast<double>(g.next() >> 11) * 0x1p-49;  break;  // below 16 s
    case 2: t = static_cast<double>(g.next() >> 11) * 0x1p-53 * 2.2e9; break;
    case 3: t = any_double(g); break;
    default: {
      const double unit = units[g.below(6)];
      t = unit * static_cast<double>(unit > 1e9 ? 1 : g.below(unit >= 60.0 ? 25000 : 6000));
      for (auto steps = g.below(8); steps > 0; --steps) t = std::nextafter(t, g.coin() ? 1e300 : -1e300);
      break;
    }
  }
  return g.coin() ? -t : t;
}

std::string bits(Extended x) {
  char text[40];
  std::snprintf(text, sizeof text, "%04x:%016llx", x.sign_exponent(),
                static_cast<unsigned long long>(x.significand()));
  return text;
}

// ---- Differential tests against the hardware

class ExtendedMatchesX87 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x87::kHostIsX87) GTEST_SKIP() << "long double is not the x87 80-bit format here";
  }
};

TEST_F(ExtendedMatchesX87, OperationsAndConversions) {
  Generator g{1};
  const std::uint64_t count = operand_count();
  for (std::uint64_t drawn = 0; drawn < count; drawn += 3) {
    const Extended a = operand(g);
    const Extended b = partner(g, a);
    if (const char* what = x87::check_operations(a, b)) {
      FAIL() << what << " differs for " << bits(a) << ", " << bits(b);
    }
    const double d = any_double(g);
    if (!x87::converts_like_hardware(d)) {
      FAIL() << "conversion differs for " << std::bit_cast<std::uint64_t>(d);
    }
  }
}

TEST_F(ExtendedMatchesX87, BreakdownElapsedTimeAndAngles) {
  Generator g{2};
  const std::uint64_t count = operand_count();
  for (std::uint64_t drawn = 0; drawn < count; drawn += 2 + kAngleFields.size()) {
    const double t = time_operand(g);
    const double t0 = g.below(4) == 0 ? t : time_operand(g);
    ASSERT_TRUE(x87::same_parts(break_down_time(t), x87::break_down_time(t))) << std::hexfloat << t;
    const long double elapsed = x87::subtract_double(t, t0);
    ASSERT_TRUE(x87::same_bits(subtract_double(Extended(t), t0).to_double(),
                               static_cast<double>(elapsed)))
        << std::hexfloat << t << " - " << t0;
    SampleRecord r;
    for (const std::size_t f : kAngleFields) r.field[f] = any_double(g);
    const SampleRecord radians = r;
    convert_angles(r);
    for (const std::size_t f : kAngleFields) {
      const long double degrees =
          static_cast<long double>(radians.field[f]) * 57.295779513082320877L;
      ASSERT_TRUE(x87::same_bits(r.field[f], static_cast<double>(degrees)))
          << std::hexfloat << radians.field[f];
    }
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
  EXPECT_EQ(e(0xffff, 0xc000000000000000).truncate_to_int32(), INT32_MIN);
}

TEST(ExtendedKnownAnswers, ArithmeticPathIsTheOneBuilt) {
#if defined(NAVDUMP_EXTENDED_PORTABLE)
  EXPECT_FALSE(extended_uses_int128());
#elif defined(__SIZEOF_INT128__)
  EXPECT_TRUE(extended_uses_int128());
#endif
}

}  // namespace
}  // namespace navdump
