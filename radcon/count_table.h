// SPDX-License-Identifier: MIT
// The count calibration table: the calibrated value of channels H and F over
// a 12-bit count, tabulated in steps of 10 for a range of 5 km.
#pragma once

#include <array>
#include <cstdio>

namespace radcon {

// q(n) = a2 n^2 + a1 n + a0 up to the threshold, l(n) = b1 n + b0 above it.
struct LevelFit {
  double a2, a1, a0;
  double b1, b0;
};

inline constexpr LevelFit kHFit = {-0.000290462, 0.25882, -157.347, 0.0221829, -108.765};
inline constexpr LevelFit kFFit = {-0.000139822, 0.133859, -129.731, 0.0220677, -107.253};

inline constexpr int kFitThreshold = 400;  // counts up to here use q(n)
inline constexpr int kCountMax = 4095;     // a 12-bit count
inline constexpr int kCountStep = 10;
inline constexpr float kRangeM = 5000.0F;  // the table's one range

// One printed row; the bracketed linear values are 0 above the threshold.
struct CountRow {
  int count;
  double range_km;
  float xzhh, xzhh_linear;
  float xzff, xzff_linear;
};

// The row for count n, from the third-set constants.
CountRow compute_row(int n, double h_const, double f_const);

// Writes one row as a line.
void print_row(std::FILE* out, const CountRow& row);

// Writes the whole table.
void print_table(std::FILE* out, double h_const, double f_const);

}  // namespace radcon
