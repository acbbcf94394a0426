// SPDX-License-Identifier: MIT
#include "listing.h"

#include <array>
#include <cmath>

#include "extended.h"
#include "fixed_format.h"

namespace navdump {
namespace {

std::int32_t truncate(Extended v) { return v.truncate_to_int32(); }

Extended extended(std::int32_t v) { return Extended(static_cast<double>(v)); }

// The time converts to extended exactly, so the test can be made on it.
bool has_defined_breakdown(double t) {
  return std::isfinite(t) && std::fabs(t) < kBreakdownLimit;
}

}  // namespace

GpsTimeParts break_down_time(double time) {
  GpsTimeParts parts;
  if (!has_defined_breakdown(time)) return parts;

  const Extended t(time);
  parts.day = truncate(t / Extended(86400.0));
  const Extended s = t - extended(parts.day * 86400);
  parts.hour = truncate(s) / 3600;
  const Extended past_hour = s - extended(parts.hour * 3600);
  parts.minute = truncate(past_hour) / 60;
  const Extended past_minute = past_hour - extended(parts.minute * 60);
  parts.second = truncate(past_minute);
  const Extended fraction = past_minute - extended(parts.second);
  // Half a hundredth added, then truncated; no carry into the seconds.
  parts.hundredths = truncate(fraction * Extended(100.0) + Extended(0.5));
  return parts;
}

namespace {

// The block's text: "\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", then
// "%21.14lf " for the elapsed time, "%20.15lf " for fields 1 to 15 and
// "%20.15lf\n" for field 16, composed in memory and written at once.
constexpr std::string_view kHeaderStart = "\n===GPS Time: ";
constexpr std::size_t kHeaderCapacity =
    kHeaderStart.size() + fixed_capacity(13) + 2 + 5 * (1 + kIntCapacity);
constexpr std::size_t kDataLineCapacity =
    fixed_capacity(14) + 1 + (kFieldCount - 1) * (fixed_capacity(15) + 1);
using BlockText = std::array<char, kHeaderCapacity + kDataLineCapacity>;

char* append_header(char* out, double t, const GpsTimeParts& p) {
  out = append_text(out, kHeaderStart);
  out = append_fixed(out, t, 22, 13);
  out = append_text(out, "  ");
  out = append_int(out, p.day, 3);
  *out++ = ',';
  out = append_int(out, p.hour, 2);
  *out++ = ':';
  out = append_int(out, p.minute, 2);
  *out++ = ':';
  out = append_int(out, p.second, 2);
  *out++ = '.';
  out = append_int(out, p.hundredths, 2);
  *out++ = '\n';
  return out;
}

char* append_data_line(char* out, const SampleRecord& record, double elapsed) {
  out = append_fixed(out, elapsed, 21, 14);
  for (std::size_t i = 1; i < kFieldCount; ++i) {
    *out++ = ' ';
    out = append_fixed(out, record.field[i], 20, 15);
  }
  *out++ = '\n';
  return out;
}

}  // namespace

void print_block(std::FILE* out, const SampleRecord& record, std::uint64_t t0_bits) {
  const double t = record.field[0];
  const GpsTimeParts p = break_down_time(t);
  BlockText text;
  char* end = append_header(text.data(), t, p);
  // Formed in extended precision, rounded to double once for the formatter;
  // t0 is taken as the x87 unit takes a subtrahend from memory, which
  // decides which NaN comes out when both times are NaN.
  const double elapsed = subtract_double(Extended(t), t0_bits).to_double();
  end = append_data_line(end, record, elapsed);
  std::fwrite(text.data(), 1, static_cast<std::size_t>(end - text.data()), out);
}

}  // namespace navdump
