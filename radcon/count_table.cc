// SPDX-License-Identifier: MIT
#include "count_table.h"

#include <cmath>

namespace radcon {
namespace {

struct ChannelValue {
  float value;
  float linear;
};

// Each value is evaluated in double and rounded to float on its own.
ChannelValue calibrate(const LevelFit& fit, int n, float x, double range_db,
                       double constant) {
  const auto linear = static_cast<float>(x * fit.b1 + fit.b0 + range_db + constant);
  if (n > kFitThreshold) return {linear, 0.0F};
  const auto quadratic = static_cast<float>(((x * fit.a2) * x + x * fit.a1) + fit.a0 +
                                            range_db + constant);
  return {quadratic, linear};
}

}  // namespace

CountRow compute_row(int n, double h_const, double f_const) {
  const double range_db = 20.0 * std::log10(static_cast<double>(kRangeM));
  const auto x = static_cast<float>(n);
  const ChannelValue h = calibrate(kHFit, n, x, range_db, h_const);
  const ChannelValue f = calibrate(kFFit, n, x, range_db, f_const);
  return {n, static_cast<double>(kRangeM) * 0.001, h.value, h.linear, f.value, f.linear};
}

void print_row(std::FILE* out, const CountRow& row) {
  std::fprintf(out, " i=%4d  rrm=%4.1f km | xzhh= %6.2f(%6.2f)  xzff= %6.2f(%6.2f)\n",
               row.count, row.range_km, static_cast<double>(row.xzhh),
               static_cast<double>(row.xzhh_linear), static_cast<double>(row.xzff),
               static_cast<double>(row.xzff_linear));
}

void print_table(std::FILE* out, double h_const, double f_const) {
  for (int n = 0; n <= kCountMax; n += kCountStep) print_row(out, compute_row(n, h_const, f_const));
}

}  // namespace radcon
