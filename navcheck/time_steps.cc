// SPDX-License-Identifier: MIT
#include "time_steps.h"

#include <algorithm>

namespace navcheck {

void TimeSteps::add(std::span<const double> times) {
  std::size_t taken = 0;
  while (!settled_ && taken < times.size()) {
    window_->times[held_++] = times[taken++];
    if (held_ > kIntervalSteps) settle();
  }
  if (settled_) take(times.subspan(taken));
}

void TimeSteps::finish() {
  if (!settled_) settle();
}

// The interval from the times held, whose steps then count as any other.
void TimeSteps::settle() {
  settled_ = true;
  std::size_t positive = 0;
  for (std::size_t i = 1; i < held_; ++i) {
    const double step = window_->times[i] - window_->times[i - 1];
    if (step > 0) window_->steps[positive++] = step;
  }
  if (positive > 0) {
    const auto begin = window_->steps.begin();
    const auto middle = begin + static_cast<std::ptrdiff_t>((positive - 1) / 2);
    std::nth_element(begin, middle, begin + static_cast<std::ptrdiff_t>(positive));
    has_interval_ = true;
    interval_ = *middle;
  }
  if (held_ > 0) {
    first_ = last_ = window_->times[0];
    times_ = 1;
    take(std::span(window_->times.data() + 1, held_ - 1));
  }
}

// Counts the steps up to each time in one loop over locals, which the
// compiler keeps in registers. A step is a gap when it exceeds the interval
// by more than half: exact, where 1.5 intervals may round to the step
// itself.
void TimeSteps::take(std::span<const double> times) {
  double last = last_;
  double longest = longest_;
  double gap_time = gap_time_;
  std::uint64_t gaps = gaps_;
  std::uint64_t backward = backward_;
  const double half_interval = 0.5 * interval_;
  for (const double time : times) {
    const double step = time - last;
    last = time;
    const double beyond = step - interval_;
    if (beyond > half_interval) {
      ++gaps;
      gap_time += beyond;
    }
    if (step <= 0) ++backward;
    if (step > longest) longest = step;
  }
  last_ = last;
  longest_ = longest;
  gap_time_ = gap_time;
  gaps_ = gaps;
  backward_ = backward;
  times_ += times.size();
}

std::optional<double> TimeSteps::first() const {
  return times_ > 0 ? std::optional(first_) : std::nullopt;
}
std::optional<double> TimeSteps::last() const {
  return times_ > 0 ? std::optional(last_) : std::nullopt;
}
std::optional<double> TimeSteps::interval() const {
  return has_interval_ ? std::optional(interval_) : std::nullopt;
}
std::optional<double> TimeSteps::gap_time() const {
  return has_interval_ ? std::optional(gap_time_) : std::nullopt;
}
std::optional<double> TimeSteps::longest() const {
  return times_ > 1 ? std::optional(longest_) : std::nullopt;
}

}  // namespace navcheck
