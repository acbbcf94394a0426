#include "listing.h"

#include <cmath>

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
  // Outside the range the day count times 86400 would overflow an int32;
  // such times (and NaN) keep all-zero parts rather than convert an
  // out-of-range value.
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
  // Half up to hundredths, with no carry into the seconds: 0.995 s gives 100.
  parts.hundredths = truncate(fraction * Extended(100.0) + Extended(0.5));
  return parts;
}

void print_block(std::FILE* out, const SampleRecord& record, double t0) {
  const double t = record.field[0];
  const GpsTimeParts p = break_down_time(t);
  std::fprintf(out, "\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", t, p.day, p.hour,
               p.minute, p.second, p.hundredths);
  // Formed in extended precision, rounded to double once for the formatter;
  // t0 is taken as the x87 unit takes a subtrahend from memory, which
  // decides which NaN comes out when both times are NaN.
  const double elapsed = subtract_double(Extended(t), t0).to_double();
  std::fprintf(out, "%21.14lf ", elapsed);
  for (std::size_t i = 1; i < kFieldCount - 1; ++i) {
    std::fprintf(out, "%20.15lf ", record.field[i]);
  }
  std::fprintf(out, "%20.15lf\n", record.field[kFieldCount - 1]);
}

}  // namespace navdump
