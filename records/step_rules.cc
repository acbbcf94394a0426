// SPDX-License-Identifier: MIT
#include "step_rules.h"

#include <algorithm>
#include <bit>

namespace records {

bool is_blank(RecordBytes bytes) {
  std::uint64_t any = 0;
  for (std::size_t i = 0; i < kFieldCount; ++i) any |= load_bits(bytes.data() + i * sizeof(double));
  return any == 0;
}

std::size_t read_times(const std::byte* p, std::size_t count, TimeReading& reading, GoodTime* good) {
  // In locals, which the compiler keeps in registers: good may alias reading.
  TimeReading local = reading;
  std::size_t found = 0;
  for (std::size_t r = 0; r < count; ++r, ++local.records) {
    const std::byte* record = p + r * kRecordSize;
    const std::uint64_t bits = load_bits(record);
    // A blank record's time is +0, whose bits are all zero.
    if (bits == 0 && is_blank(RecordBytes(record, kRecordSize))) {
      ++local.blank;
      continue;
    }
    const double time = std::bit_cast<double>(bits);
    // Without branches on the time: in a file where many times are bad, at
    // random, a branch would be mispredicted often.
    const bool is_good = is_good_time(time, local.after_week_end);
    good[found] = {time, local.crossed, local.records};
    found += is_good ? 1 : 0;
    local.bad_time += is_good ? 0 : 1;
    local.crossed = is_good ? 0 : local.crossed + 1;
    local.after_week_end = is_good && ends_week(time);
  }
  reading = local;
  return found;
}

std::optional<PlainRun> plain_run(const std::byte* p, std::size_t count, double last,
                                  double interval) {
  double longest = 0.0;
  bool forward = true;
  for (std::size_t r = 0; r < count; ++r) {
    const double time = std::bit_cast<double>(load_bits(p + r * kRecordSize));
    const double step = time - last;
    last = time;
    forward = forward & (step > 0.0);
    longest = step > longest ? step : longest;
  }
  if (!forward || !is_plain_step(longest, rounded_gap_limit(0, interval)) || !(last < kTimeLimit)) {
    return std::nullopt;
  }
  return PlainRun{last, longest};
}

// The product's error, split off exactly by fma: both factors are
// multiples of the smallest subnormal, and so is the error.
bool rounded_up(double a, double b, double rounded) { return std::fma(a, b, -rounded) < 0.0; }

std::size_t hold_for_interval(IntervalWindow& window, std::size_t& held,
                              std::span<const GoodTime> times) {
  const std::size_t taken = std::min(times.size(), window.times.size() - held);
  std::copy_n(times.begin(), taken, window.times.begin() + static_cast<std::ptrdiff_t>(held));
  held += taken;
  return taken;
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
