// SPDX-License-Identifier: MIT
#include "time_steps.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace navcheck {

using records::GoodTime;

void TimeSteps::add(std::span<const GoodTime> times) {
  const std::size_t taken = settled_ ? 0 : records::hold_for_interval(*window_, held_, times);
  if (!settled_ && held_ == window_->times.size()) settle();
  if (settled_) take(times.subspan(taken));
}

void TimeSteps::finish() {
  if (!settled_) settle();
}

// Takes all count records at once when each is a good time a plain step
// forward from the one before, and the time before is good: every step
// above zero (which a NaN, a zero or a time going back fails), the longest
// plain (which an infinity fails), the last time below the limit, and so
// are all before it. Without a branch per record, which in most blocks is
// all there is to do.
bool TimeSteps::take_all_plain(const std::byte* records, std::size_t count, double no_gap) {
  double last = last_;
  double longest = 0.0;
  bool forward = true;
  for (std::size_t r = 0; r < count; ++r) {
    const double time = std::bit_cast<double>(records::load_bits(records + r * records::kRecordSize));
    const double step = time - last;
    last = time;
    forward = forward & (step > 0.0);
    longest = step > longest ? step : longest;
  }
  if (!forward || !records::is_plain_step(longest, no_gap) || !(last < records::kTimeLimit)) {
    return false;
  }
  last_ = last;
  longest_ = std::max(longest_, longest);
  times_ += count;
  return true;
}

std::size_t TimeSteps::take_plain(const std::byte* block, std::size_t first, std::size_t count,
                                  records::TimeReading& reading) {
  if (!settled_ || times_ == 0) return first;
  const double no_gap = records::rounded_gap_limit(0, interval_or_none_);
  if (reading.crossed == 0 && take_all_plain(block + first * records::kRecordSize, count - first, no_gap)) {
    reading.records += count - first;
    reading.after_week_end = records::ends_week(last_);
    return count;
  }
  double last = last_;
  double longest = longest_;
  std::uint64_t backward = backward_;
  std::uint64_t crossed = reading.crossed;
  std::uint64_t bad_time = reading.bad_time;
  std::uint64_t times = times_;
  std::size_t r = first;
  for (; r < count; ++r) {
    const double time = std::bit_cast<double>(records::load_bits(block + r * records::kRecordSize));
    if (!(time > 0.0 && time < records::kTimeLimit)) {
      if (time == 0.0) break;  // blank, or the first instant of a week
      ++crossed;
      ++bad_time;
      continue;
    }
    const double step = time - last;
    const double limit = crossed == 0 ? no_gap : records::rounded_gap_limit(crossed, interval_or_none_);
    if (!records::is_plain_step(step, limit)) break;
    last = time;
    crossed = 0;
    backward += step == 0.0 ? 1 : 0;
    if (step > longest) longest = step;
    ++times;
  }
  reading.records += r - first;
  reading.crossed = crossed;
  reading.bad_time = bad_time;
  reading.after_week_end = crossed == 0 && records::ends_week(last);
  last_ = last;
  longest_ = longest;
  backward_ = backward;
  times_ = times;
  return r;
}

// The interval from the times held, whose steps then count as any other.
void TimeSteps::settle() {
  settled_ = true;
  interval_ = records::interval_of(*window_, held_);
  if (interval_) interval_or_none_ = *interval_;
  if (held_ > 0) {
    first_ = last_ = window_->times[0].time;
    times_ = 1;
    take(std::span(window_->times.data() + 1, held_ - 1));
  }
}

// Counts the steps up to each time in one loop over locals, which the
// compiler keeps in registers.
void TimeSteps::take(std::span<const GoodTime> times) {
  double last = last_;
  double longest = longest_;
  double gap_time = gap_time_;
  std::uint64_t gaps = gaps_;
  std::uint64_t backward = backward_;
  std::uint64_t rollovers = rollovers_;
  // Without an interval no step is a gap: none exceeds infinity.
  const double interval = interval_.value_or(std::numeric_limits<double>::infinity());
  for (const GoodTime& time : times) {
    const records::Step step = records::step_between(last, time.time);
    last = time.time;
    rollovers += step.weeks != 0 ? 1 : 0;
    if (records::is_gap(step.seconds, time.crossed, interval)) {
      ++gaps;
      gap_time += records::time_missing(step.seconds, time.crossed, interval);
    }
    backward += step.seconds <= 0 ? 1 : 0;
    if (step.seconds > longest) longest = step.seconds;
  }
  last_ = last;
  longest_ = longest;
  gap_time_ = gap_time;
  gaps_ = gaps;
  backward_ = backward;
  rollovers_ = rollovers;
  times_ += times.size();
}

std::optional<double> TimeSteps::first() const {
  return times_ > 0 ? std::optional(first_) : std::nullopt;
}
std::optional<double> TimeSteps::last() const {
  return times_ > 0 ? std::optional(last_) : std::nullopt;
}
std::optional<double> TimeSteps::gap_time() const {
  return interval_ ? std::optional(gap_time_) : std::nullopt;
}
std::optional<double> TimeSteps::longest() const {
  return times_ > 1 ? std::optional(longest_) : std::nullopt;
}

}  // namespace navcheck
