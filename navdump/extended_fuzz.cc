// SPDX-License-Identifier: MIT
// Fuzz target: Extended against the x87 unit. The input is read as groups
// of two 80-bit operands and one double; every operation, conversion, time
// breakdown, elapsed time and angle product must give the hardware's bits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "extended.h"
#include "listing.h"
#include "sample_record.h"
#include "x87_reference.h"

namespace {

using navdump::Extended;

Extended read_extended(const std::uint8_t* data) {
  std::uint64_t significand = 0;
  std::uint16_t sign_exponent = 0;
  std::memcpy(&significand, data, 8);
  std::memcpy(&sign_exponent, data + 8, 2);
  return navdump::x87::canonical(sign_exponent, significand);
}

void check(bool same, const char* what) {
  if (same) return;
  std::fprintf(stderr, "differs from the x87 unit: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if constexpr (!navdump::x87::kHostIsX87) return 0;
  namespace x87 = navdump::x87;
  constexpr std::size_t kGroup = 10 + 10 + 8;
  for (; size >= kGroup; data += kGroup, size -= kGroup) {
    const Extended a = read_extended(data), b = read_extended(data + 10);
    double t = 0;
    std::memcpy(&t, data + 20, 8);
    if (const char* what = x87::check_operations(a, b)) check(false, what);
    check(x87::converts_like_hardware(t), "conversion from double");
    check(x87::same_parts(navdump::break_down_time(t), x87::break_down_time(t)), "breakdown");
    const double t0 = b.to_double();
    check(x87::same_bits(navdump::subtract_double(Extended(t), t0).to_double(),
                         static_cast<double>(x87::subtract_double(t, t0))),
          "elapsed time");
    navdump::SampleRecord record;
    record.field[1] = t;
    navdump::convert_angles(record);
    const long double degrees = static_cast<long double>(t) * 57.295779513082320877L;
    check(x87::same_bits(record.field[1], static_cast<double>(degrees)), "angle");
  }
  return 0;
}
