// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as doubles and ints, each written by the
// formatter and by snprintf with the listing's formats (and one format of
// any width and precision); any difference aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "fixed_format.h"

namespace {

// Each value costs a few microseconds when it is wide; more than this many
// per input would slow the fuzzer below a thousand runs a second.
constexpr std::size_t kMaxValuesPerInput = 32;

void check(std::string_view what, const char* expected, int length, const char* first,
           const char* last) {
  if (length >= 0 && std::string_view(expected, static_cast<std::size_t>(length)) ==
                         std::string_view(first, static_cast<std::size_t>(last - first))) {
    return;
  }
  std::fprintf(stderr, "%.*s: printf '%s', formatter '%.*s'\n", static_cast<int>(what.size()),
               what.data(), expected, static_cast<int>(last - first), first);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes pick a width of 0 to 63 and a precision of 0 to 31.
  const int width = data[0] % 64;
  const int precision = data[1] % 32;
  data += 2;
  size -= 2;
  std::vector<char> ours(navdump::fixed_field_capacity(64, 32));
  char expected[400];
  for (std::size_t n = 0; n < kMaxValuesPerInput && size >= sizeof(double); ++n) {
    double value = 0.0;
    std::memcpy(&value, data, sizeof value);
    std::int32_t integer = 0;
    std::memcpy(&integer, data, sizeof integer);
    data += sizeof value;
    size -= sizeof value;
    char* const o = ours.data();
    check("%22.13lf", expected, std::snprintf(expected, sizeof expected, "%22.13lf", value), o,
          navdump::append_fixed(o, value, 22, 13));
    check("%21.14lf", expected, std::snprintf(expected, sizeof expected, "%21.14lf", value), o,
          navdump::append_fixed(o, value, 21, 14));
    check("%20.15lf", expected, std::snprintf(expected, sizeof expected, "%20.15lf", value), o,
          navdump::append_fixed(o, value, 20, 15));
    check("%*.*lf", expected,
          std::snprintf(expected, sizeof expected, "%*.*lf", width, precision, value), o,
          navdump::append_fixed(o, value, width, precision));
    check("%3d", expected, std::snprintf(expected, sizeof expected, "%3d", integer), o,
          navdump::append_int(o, integer, 3));
    check("%2d", expected, std::snprintf(expected, sizeof expected, "%2d", integer), o,
          navdump::append_int(o, integer, 2));
  }
  return 0;
}
