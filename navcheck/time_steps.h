// SPDX-License-Identifier: MIT
// The steps between the consecutive finite times of a record file: its
// sampling interval, its gaps and its steps backward.
//
// The sampling interval is the median of the positive steps among the first
// 10,000 steps, the lower middle one of an even number. A gap is a step
// longer than 1.5 intervals; the time lost in it is the step less one
// interval. A step of zero or less goes backward.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>

namespace navcheck {

// The steps that decide the sampling interval.
inline constexpr std::size_t kIntervalSteps = 10'000;

// Room for the first times of a file and their steps, until its interval is
// settled. The driver reserves it once, when the program is loaded, so that
// no file needs memory of its own.
struct IntervalWindow {
  std::array<double, kIntervalSteps + 1> times;
  std::array<double, kIntervalSteps> steps;
};

class TimeSteps {
 public:
  explicit TimeSteps(IntervalWindow& window) : window_(&window) {}

  // The next finite times, in file order.
  void add(std::span<const double> times);
  // After the last time: settles the interval of a file with fewer steps.
  void finish();

  // The first and the last time; nothing without a time.
  std::optional<double> first() const;
  std::optional<double> last() const;
  // The sampling interval; nothing without a positive step among the first.
  std::optional<double> interval() const;
  // Gaps and the time lost in them; that time only with an interval.
  std::uint64_t gaps() const { return gaps_; }
  std::optional<double> gap_time() const;
  // The longest step; nothing without a step.
  std::optional<double> longest() const;
  // Steps of zero or less.
  std::uint64_t backward() const { return backward_; }

 private:
  void settle();
  void take(std::span<const double> times);

  IntervalWindow* window_;
  std::size_t held_ = 0;  // first times in the window until settled
  bool settled_ = false;
  std::uint64_t times_ = 0;  // taken
  double first_ = 0;
  double last_ = 0;
  bool has_interval_ = false;
  // Infinite without an interval, so that no step is a gap.
  double interval_ = std::numeric_limits<double>::infinity();
  std::uint64_t gaps_ = 0;
  double gap_time_ = 0;
  double longest_ = -std::numeric_limits<double>::infinity();
  std::uint64_t backward_ = 0;
};

}  // namespace navcheck
