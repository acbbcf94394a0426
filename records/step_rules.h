// SPDX-License-Identifier: MIT
// The rules by which the times of record files are read: which times are
// good, which records are blank, the steps between good times across a GPS
// week rollover, the sampling interval and what counts as a gap.
//
// A record is blank when all its 136 bytes are zero: space a recorder
// reserved or filled with zeros. It is passed over as if it were absent.
// A good time is finite, above 0 and below 2^32 s (seconds of the GPS week
// and seconds since 1980 both fit), or exactly +-0 right after a good time
// between 604,799 and 604,800 s: the first instant of the next week. Every
// other record that is not blank has a bad time. Steps join consecutive good
// times; a step that crosses k records with a bad time spans k + 1
// intervals.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sample_record.h"

namespace records {

inline constexpr double kWeekSeconds = 604'800.0;
inline constexpr double kTimeLimit = 0x1p32;

// Whether the record's bytes are all zero.
bool is_blank(RecordBytes bytes);

// Whether a good time in the last second of a week came just before, so
// that a time of zero begins the next week.
inline bool ends_week(double good_time) {
  return good_time >= kWeekSeconds - 1.0 && good_time <= kWeekSeconds;
}

// Whether time is good, given whether the record before it (not counting
// blank ones) had a good time that ends a week.
inline bool is_good_time(double time, bool after_week_end) {
  return (time > 0.0 && time < kTimeLimit) || (time == 0.0 && after_week_end);
}

// A step from one good time to the next. When both lie within one week's
// seconds, a step back of half a week to a week is a rollover into the next
// week (a week is added), and a step forward of half a week to a week one
// back into the week before (a late record; a week is taken away).
struct Step {
  double seconds = 0;
  int weeks = 0;  // +1 or -1 for a rollover, else 0
};

// Whether a time lies within one week's seconds, [0, 604,800]: a time of
// the week, which may roll over. Larger times (seconds since 1980) never do.
inline bool in_week(double time) { return time >= 0.0 && time <= kWeekSeconds; }

inline Step step_between(double from, double to) {
  const double seconds = to - from;
  // Only a step of half a week or more can be one; two times within one
  // week are at most a week apart.
  if (!(std::fabs(seconds) >= kWeekSeconds / 2) || !in_week(from) || !in_week(to)) {
    return {seconds, 0};
  }
  return seconds < 0.0 ? Step{seconds + kWeekSeconds, 1} : Step{seconds - kWeekSeconds, -1};
}

// Whether the product of two doubles is below its rounded value: the
// rounding went up.
bool rounded_up(double a, double b, double rounded);

// Twice the longest step across crossed bad-time records that is no gap,
// rounded: (2 crossed + 3) intervals. Infinite without an interval.
inline double rounded_gap_limit(std::uint64_t crossed, double interval) {
  return (2.0 * static_cast<double>(static_cast<std::int64_t>(crossed)) + 3.0) * interval;
}

// Whether a step across crossed bad-time records is a gap: longer than
// crossed + 1 intervals by more than half an interval. Decided exactly on
// the doubles, not on rounded products: step - (k+1) interval > interval / 2
// is 2 step > (2k + 3) interval, and 2 step, a double, exceeds the product
// when it exceeds its rounded value, or equals it while the rounding went
// up.
inline bool is_gap(double step, std::uint64_t crossed, double interval) {
  const double twice = 2.0 * step;
  const double rounded = rounded_gap_limit(crossed, interval);
  if (twice != rounded) return twice > rounded;
  return rounded_up(2.0 * static_cast<double>(static_cast<std::int64_t>(crossed)) + 3.0, interval,
                    rounded);
}

// Whether a step between good times is of the common kind, which needs none
// of the rules above: forward or none, too short for a rollover, and twice
// it below the rounded gap limit, so no gap.
inline bool is_plain_step(double step, double rounded_limit) {
  return step >= 0.0 && step < kWeekSeconds / 2 && 2.0 * step < rounded_limit;
}

// The last time and the longest step of a run of records each of whose
// good times is a plain step forward from the one right before it.
struct PlainRun {
  double last = 0;
  double longest = 0;
};

// The run of the count records at p, the time before them last (a good
// time) and interval the one in force (infinite without one); nothing when
// some record's time is not good or not a plain step forward from the one
// before. Without a branch per record: every step above zero (which a NaN,
// a zero or a time going back fails), the longest plain (which an infinity
// fails), the last time below the limit, and so all before it.
std::optional<PlainRun> plain_run(const std::byte* p, std::size_t count, double last,
                                  double interval);

// The time a gap lost: the step less crossed + 1 intervals, in double.
inline double time_missing(double step, std::uint64_t crossed, double interval) {
  return step - static_cast<double>(crossed + 1) * interval;
}

// The steps that decide a file's sampling interval.
inline constexpr std::size_t kIntervalSteps = 10'000;

// A good time, the records with a bad time between it and the good time
// before it, and its record's number in the file, counted from 0.
struct GoodTime {
  double time = 0;
  std::uint64_t crossed = 0;
  std::uint64_t record = 0;
};

// Reading a file's times, record by record: what carries from one record to
// the next, and the counts so far.
struct TimeReading {
  std::uint64_t records = 0;      // read so far
  std::uint64_t blank = 0;
  std::uint64_t bad_time = 0;
  std::uint64_t crossed = 0;      // bad times since the last good one
  bool after_week_end = false;    // the last record not blank had a good time ending a week
};

// Reads the times of the count whole records at p into good, which has room
// for count, and gives the number of good times found.
std::size_t read_times(const std::byte* p, std::size_t count, TimeReading& reading, GoodTime* good);

// Room for a file's first good times, held until its interval is known.
// Reserved once, when a program is loaded, so that no file needs memory of
// its own.
struct IntervalWindow {
  std::array<GoodTime, kIntervalSteps + 1> times;
  std::array<double, kIntervalSteps> steps;  // scratch for the median
};

// Copies the first of times into window behind the held ones, until it
// holds the kIntervalSteps + 1 good times whose steps decide the interval
// (held then equals window.times.size()); gives how many it took.
std::size_t hold_for_interval(IntervalWindow& window, std::size_t& held,
                              std::span<const GoodTime> times);

// The sampling interval of the first good times held in window: the median
// of the positive steps, each divided by one more than the bad-time records
// it crosses, after a rollover is undone; the lower middle one of an even
// number. Nothing without a positive step.
std::optional<double> interval_of(IntervalWindow& window, std::size_t held);

}  // namespace records
