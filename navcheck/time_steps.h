// SPDX-License-Identifier: MIT
// The steps between the good times of a record file: its sampling interval,
// its gaps, its steps backward and its week rollovers, by the rules of
// records/step_rules.h.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <cstddef>

#include "step_rules.h"

namespace navcheck {

class TimeSteps {
 public:
  // Holds the first good times in window until the interval is known.
  explicit TimeSteps(records::IntervalWindow& window) : window_(&window) {}

  // The next good times, in file order.
  void add(std::span<const records::GoodTime> times);
  // After the last time: settles the interval of a file with fewer steps.
  void finish();

  // Takes the records from first on, up to count, as records::read_times
  // and add() would, while each is of the common kind: a good time a plain
  // step (records::is_plain_step) from the good time before, or a bad time
  // other than zero. Gives the first record not taken, for those rules.
  std::size_t take_plain(const std::byte* block, std::size_t first, std::size_t count,
                         records::TimeReading& reading);

  // The first and the last good time, as recorded; nothing without one.
  std::optional<double> first() const;
  std::optional<double> last() const;
  // The sampling interval; nothing without a positive step among the first.
  std::optional<double> interval() const { return interval_; }
  // Gaps and the time they lost; that time only with an interval.
  std::uint64_t gaps() const { return gaps_; }
  std::optional<double> gap_time() const;
  // The longest step; nothing without a step.
  std::optional<double> longest() const;
  // Steps of zero or less, and week rollovers either way.
  std::uint64_t backward() const { return backward_; }
  std::uint64_t rollovers() const { return rollovers_; }

 private:
  void settle();
  void take(std::span<const records::GoodTime> times);
  bool take_all_plain(const std::byte* records, std::size_t count);
  bool take_all_across_bad(const std::byte* records, std::size_t count,
                           records::TimeReading& reading);

  records::IntervalWindow* window_;
  std::size_t held_ = 0;  // good times in the window until settled
  bool settled_ = false;
  std::uint64_t times_ = 0;  // taken
  double first_ = 0;
  double last_ = 0;
  std::optional<double> interval_;
  double interval_or_none_ = std::numeric_limits<double>::infinity();
  bool whole_blocks_ = true;  // whether to try a block at once
  std::uint64_t gaps_ = 0;
  double gap_time_ = 0;
  double longest_ = -std::numeric_limits<double>::infinity();
  std::uint64_t backward_ = 0;
  std::uint64_t rollovers_ = 0;
};

}  // namespace navcheck
