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
// forward from the one before, and the time before is good.
bool TimeSteps::take_all_plain(const std::byte* records, std::size_t count) {
  const std::optional<records::PlainRun> run =
      records::plain_run(records, count, last_, interval_or_none_);
  if (!run) return false;
  last_ = run->last;
  longest_ = std::max(longest_, run->longest);
  times_ += count;
  return true;
}

// Takes all count records at once when each good time is a plain step
// forward from the good time before, across the bad times between, none of
// which is zero. Without a branch per record: what is kept of a bad time is
// chosen by masks of bits.
bool TimeSteps::take_all_across_bad(const std::byte* records, std::size_t count,
                                    records::TimeReading& reading) {
  std::uint64_t last = std::bit_cast<std::uint64_t>(last_);
  double longest = 0.0;
  std::uint64_t crossed = reading.crossed;
  std::uint64_t good_times = 0;
  bool plain = true;
  for (std::size_t r = 0; r < count; ++r) {
    const std::uint64_t bits = records::load_bits(records + r * records::kRecordSize);
    const double time = std::bit_cast<double>(bits);
    const bool good = (time > 0.0) & (time < records::kTimeLimit);
    const double step = time - std::bit_cast<double>(last);
    const double limit = records::rounded_gap_limit(crossed, interval_or_none_);
    const bool bad = !good;
    const bool forward = (step > 0.0) & (step < records::kWeekSeconds / 2) & (2.0 * step < limit);
    plain = plain & (time != 0.0) & (bad | forward);
    const std::uint64_t keep = std::uint64_t{0} - static_cast<std::uint64_t>(good);
    last = (bits & keep) | (last & ~keep);
    longest = std::max(longest, std::bit_cast<double>(std::bit_cast<std::uint64_t>(step) & keep));
    crossed = (crossed + 1) & ~keep;
    good_times += good ? 1 : 0;
  }
  if (!plain || !(std::bit_cast<double>(last) < records::kTimeLimit)) return false;
  last_ = std::bit_cast<double>(last);
  longest_ = std::max(longest_, longest);
  times_ += good_times;
  reading.records += count;
  reading.bad_time += count - good_times;
  reading.crossed = crossed;
  reading.after_week_end = crossed == 0 && records::ends_week(last_);
  return true;
}

std::size_t TimeSteps::take_plain(const std::byte* block, std::size_t first, std::size_t count,
                                  records::TimeReading& reading) {
  if (!settled_ || times_ == 0) return first;
  // A whole block at once: without bad times, unless the block before had
  // some (then this one likely does too), or across them.
  const std::byte* rest = block + first * records::kRecordSize;
  if (whole_blocks_ && reading.crossed == 0 && take_all_plain(rest, count - first)) {
    reading.records += count - first;
    reading.after_week_end = records::ends_week(last_);
    return count;
  }
  const std::uint64_t bad_before = reading.bad_time;
  if (take_all_across_bad(rest, count - first, reading)) {
    if (first == 0) whole_blocks_ = reading.bad_time == bad_before;
    return count;
  }
  double last = last_;
  double longest = longest_;
  std::uint64_t backward = backward_;
  std::uint64_t crossed = reading.crossed;
  std::uint64_t bad_time = reading.bad_time;
  std::uint64_t times = times_;
  std::size_t r = first;
  // Without a branch on whether a time is good: in a file where many times
  // are bad at random, it would be mispredicted often.
  for (; r < count; ++r) {
    const double time = std::bit_cast<double>(records::load_bits(block + r * records::kRecordSize));
    if (time == 0.0) break;  // blank, or the first instant of a week
    const bool good = (time > 0.0) & (time < records::kTimeLimit);
    const double step = time - last;
    const bool plain =
        records::is_plain_step(step, records::rounded_gap_limit(crossed, interval_or_none_));
    if (good & !plain) break;
    last = good ? time : last;
    longest = (good & (step > longest)) ? step : longest;
    backward += (good & (step == 0.0)) ? 1 : 0;
    bad_time += good ? 0 : 1;
    crossed = good ? 0 : crossed + 1;
    times += good ? 1 : 0;
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
