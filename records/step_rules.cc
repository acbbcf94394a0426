// SPDX-License-Identifier: MIT
#include "step_rules.h"

#include <algorithm>

namespace records {

bool is_blank(RecordBytes bytes) {
  std::uint64_t any = 0;
  for (std::size_t i = 0; i < kFieldCount; ++i) any |= load_bits(bytes.data() + i * sizeof(double));
  return any == 0;
}

// step - (k+1) interval > interval / 2 is 2 step > (2k + 3) interval. The
// product is split exactly into a rounded part and its error (fma), which
// needs no more than the doubles hold: both are multiples of the smallest
// subnormal. 2 step exceeds the product when it exceeds the rounded part,
// or equals it while the error is negative.
bool is_gap(double step, std::uint64_t crossed, double interval) {
  const double twice = 2.0 * step;
  const double intervals = 2.0 * static_cast<double>(crossed) + 3.0;
  const double rounded = intervals * interval;
  const double error = std::fma(intervals, interval, -rounded);
  return twice > rounded || (twice == rounded && error < 0.0);
}

std::optional<double> interval_of(IntervalWindow& window, std::size_t held) {
  std::size_t positive = 0;
  for (std::size_t i = 1; i < held; ++i) {
    const double step = step_between(window.times[i - 1].time, window.times[i].time).seconds;
    if (step > 0.0) {
      window.steps[positive++] = step / static_cast<double>(window.times[i].crossed + 1);
    }
  }
  if (positive == 0) return std::nullopt;
  const auto begin = window.steps.begin();
  const auto middle = begin + static_cast<std::ptrdiff_t>((positive - 1) / 2);
  std::nth_element(begin, middle, begin + static_cast<std::ptrdiff_t>(positive));
  return *middle;
}

}  // namespace records
