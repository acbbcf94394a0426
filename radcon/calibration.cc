// SPDX-License-Identifier: MIT
#include "calibration.h"

#include <cmath>

namespace radcon {
namespace {

double decibels(double ratio) { return 10.0 * std::log10(ratio); }

// The channel's constant from its own level, gain and beam term; the
// subtractions run left to right as the equation is written.
double first_set(const ChannelParams& c, double beam, const RadarTerms& t) {
  return c.reference_level_db - (c.gain_db + c.gain_db) - beam -
         t.radar_constant_db - t.dielectric_db;
}

double second_set(const ChannelParams& c, double beam, const RadarTerms& t) {
  return c.gain_db * (-2.0) - beam - t.radar_constant_db - t.dielectric_db;
}

double third_set(const ChannelParams& c, double beam, const RadarTerms& t) {
  return c.reference_level_db - kThirdSetOffsetDb - (c.gain_db + c.gain_db) -
         t.fixed_term_db - beam - t.radar_constant_db - t.dielectric_db;
}

ConstantSet per_channel(double (*constant)(const ChannelParams&, double,
                                           const RadarTerms&),
                        const RadarTerms& t) {
  return {constant(kChannels[0], t.beam_db[0], t),
          constant(kChannels[1], t.beam_db[1], t),
          constant(kChannels[2], t.beam_db[2], t)};
}

}  // namespace

RadarTerms compute_terms() {
  RadarTerms t{};
  // The radar constant for a Gaussian beam, divisions in this order.
  t.radar_constant_db = decibels(((std::pow(kRadarPi, 3.0) / 1024.0) / std::log(2.0)) /
                                 std::pow(kWavelengthM, 2.0));
  t.dielectric_db = decibels(kDielectricFactor);
  t.fixed_term_db = decibels(kThirdSetFixedTerm);
  for (std::size_t i = 0; i < kChannels.size(); ++i) {
    const ChannelParams& c = kChannels[i];
    t.beam_db[i] = decibels(((kRadiansPerDegree * c.beam_width_a_deg) * c.beam_width_b_deg) *
                            kRadiansPerDegree);
  }
  return t;
}

std::array<ConstantSet, 3> compute_sets(const RadarTerms& terms) {
  return {per_channel(first_set, terms), per_channel(second_set, terms),
          per_channel(third_set, terms)};
}

void print_set(std::FILE* out, const ConstantSet& set) {
  std::fprintf(out, "### H_const=%9.4f  V_const=%9.4f  F_const=%9.4f\n", set.H_const,
               set.V_const, set.F_const);
}

}  // namespace radcon
