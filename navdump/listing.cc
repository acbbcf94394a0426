#include "listing.h"

#include <cmath>

namespace navdump {
namespace {

std::int32_t truncate(long double v) { return static_cast<std::int32_t>(v); }

bool has_defined_breakdown(long double t) {
  return std::isfinite(t) && std::fabs(t) < kBreakdownLimit;
}

}  // namespace

GpsTimeParts break_down_time(double time) {
  const long double t = time;
  GpsTimeParts parts;
  // Outside the range the day count times 86400 would overflow an int32;
  // such times (and NaN) keep all-zero parts rather than convert an
  // out-of-range value.
  if (!has_defined_breakdown(t)) return parts;

  parts.day = truncate(t / 86400.0L);
  const long double s = t - static_cast<long double>(parts.day * 86400);
  parts.hour = truncate(s) / 3600;
  const long double past_hour = s - static_cast<long double>(parts.hour * 3600);
  parts.minute = truncate(past_hour) / 60;
  const long double past_minute =
      past_hour - static_cast<long double>(parts.minute * 60);
  parts.second = truncate(past_minute);
  const long double fraction =
      past_minute - static_cast<long double>(parts.second);
  // Half up to hundredths, with no carry into the seconds: 0.995 s gives 100.
  parts.hundredths = truncate(fraction * 100.0L + 0.5L);
  return parts;
}

void print_block(std::FILE* out, const SampleRecord& record, double t0) {
  const double t = record.field[0];
  const GpsTimeParts p = break_down_time(t);
  std::fprintf(out, "\n===GPS Time: %22.13lf  %3d,%2d:%2d:%2d.%2d\n", t, p.day, p.hour,
               p.minute, p.second, p.hundredths);
  // Formed in extended precision, rounded to double once for the formatter.
  const auto elapsed = static_cast<double>(static_cast<long double>(t) -
                                           static_cast<long double>(t0));
  std::fprintf(out, "%21.14lf ", elapsed);
  for (std::size_t i = 1; i < kFieldCount - 1; ++i) {
    std::fprintf(out, "%20.15lf ", record.field[i]);
  }
  std::fprintf(out, "%20.15lf\n", record.field[kFieldCount - 1]);
}

}  // namespace navdump
