// SPDX-License-Identifier: MIT
// Calibration constants of the radar reflectivity equation, in decibels,
// for the channels H, V and F, from parameters fixed in the program.
#pragma once

#include <array>
#include <cstdio>

namespace radcon {

// One row per channel, in the order H, V, F.
struct ChannelParams {
  double reference_level_db;  // L
  double gain_db;             // G
  double beam_width_a_deg;    // a
  double beam_width_b_deg;    // b
};

inline constexpr std::array<ChannelParams, 3> kChannels = {{
    {200.0, 26.67, 7.0, 6.4},
    {200.0, 26.47, 6.8, 7.1},
    {197.93, 26.07, 7.1, 6.4},
}};

// Parameters shared by all channels.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;  // d
inline constexpr double kRadarPi = 3.14159265358979;  // p: 15 digits, as calibrated
inline constexpr double kWavelengthM = 0.021739130434782608;  // lambda, 1/46 m
inline constexpr double kDielectricFactor = 0.9;             // |K|^2
inline constexpr double kThirdSetOffsetDb = 63.5;            // O
inline constexpr double kThirdSetFixedTerm = 300.0;          // R = 10 log10(300)

// One set of constants, one per channel, in dB.
struct ConstantSet {
  double H_const;
  double V_const;
  double F_const;
};

// The terms the three sets are made of.
struct RadarTerms {
  double radar_constant_db;  // Cr
  double dielectric_db;      // K
  double fixed_term_db;      // R
  std::array<double, 3> beam_db;  // B of H, V and F
};

RadarTerms compute_terms();

// Sets 1, 2 and 3: with the reference level, without it, and less the
// offset and the fixed term.
std::array<ConstantSet, 3> compute_sets(const RadarTerms& terms);

// Writes one set as a line.
void print_set(std::FILE* out, const ConstantSet& set);

}  // namespace radcon
