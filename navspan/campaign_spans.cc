// SPDX-License-Identifier: MIT
#include "campaign_spans.h"

#include <algorithm>
#include <limits>

namespace navspan {
namespace {

using records::GoodTime;
using records::kWeekSeconds;

// The step from the last good time before a file to the file's first. The
// files are in time order, so a step back of more than a flight break
// between times of the week means the file starts in a later week: from
// half a week back by the rollover rule, below that by the files' order. A
// step forward is taken as it is: a later file is never of the week before,
// as a late record inside a file may be.
records::Step step_into_file(double from, double to) {
  const records::Step step = records::step_between(from, to);
  if (step.weeks < 0) return {to - from, 0};
  if (step.seconds < -kFlightBreak && records::in_week(from) && records::in_week(to)) {
    return {step.seconds + kWeekSeconds, 1};
  }
  return step;
}

// Whether no step from last through times cuts the span: the shortest is
// forward or zero and the longest plain across no bad time, so every step
// is plain across any number. Without a branch per time, so that a block of
// times where none cuts is passed at once.
bool none_cuts(double last, std::span<const GoodTime> times, double interval) {
  double shortest = 0.0;
  double longest = 0.0;
  for (const GoodTime& time : times) {
    const double step = time.time - last;
    last = time.time;
    shortest = std::min(shortest, step);
    longest = std::max(longest, step);
  }
  return shortest >= 0.0 && records::is_plain_step(longest, records::rounded_gap_limit(0, interval));
}

Kind kind_of_file_start(double step, std::uint64_t crossed, double interval) {
  if (step > kFlightBreak) return Kind::flight;
  if (records::is_gap(step, crossed, interval)) return Kind::hole;
  return step < 0.0 ? Kind::overlap : Kind::next;
}

}  // namespace

void CampaignSpans::begin_file(const char* path) {
  path_ = path;
  held_ = 0;
  settled_ = false;
  has_span_ = false;
  reading_.records = 0;
}

void CampaignSpans::take(std::span<const GoodTime> times) {
  std::size_t taken = 0;
  if (!settled_) {
    taken = records::hold_for_interval(window_, held_, times);
    if (held_ < window_.times.size()) return;
    settle();
  }
  walk(times.subspan(taken));
}

bool CampaignSpans::take_plain_records(const std::byte* p, std::size_t count) {
  if (!settled_ || !has_span_ || reading_.crossed != 0) return false;
  const std::optional<records::PlainRun> run = records::plain_run(
      p, count, last_time_, interval_.value_or(std::numeric_limits<double>::infinity()));
  if (!run) return false;
  reading_.records += count;
  reading_.after_week_end = records::ends_week(run->last);
  last_time_ = run->last;
  span_.last_record = reading_.records - 1;
  span_.end = run->last + weeks_;
  return true;
}

void CampaignSpans::end_file(std::optional<Note> failure) {
  if (!settled_) settle();
  if (has_span_) {
    table_.print_span(path_, span_);
  } else if (!failure) {
    table_.print_note(path_, Note::untimed);
  }
  if (failure) table_.print_note(path_, *failure);
}

// The file's interval from the times held, which then are walked as any.
void CampaignSpans::settle() {
  settled_ = true;
  if (const std::optional<double> own = records::interval_of(window_, held_)) in_force_ = own;
  interval_ = in_force_;
  walk(std::span(window_.times.data(), held_));
}

void CampaignSpans::walk(std::span<const GoodTime> times) {
  if (times.empty()) return;
  if (!has_span_) {
    begin_file_span(times.front());
    times = times.subspan(1);
  }
  follow(times);
}

void CampaignSpans::begin_file_span(const GoodTime& time) {
  has_span_ = true;
  if (!any_time_) {
    any_time_ = true;
    last_time_ = time.time;
    open(time, Kind::start, 0.0, time.time);
    return;
  }
  const records::Step step = step_into_file(last_time_, time.time);
  weeks_ += step.weeks * kWeekSeconds;
  last_time_ = time.time;
  open(time, kind_of_file_start(step.seconds, time.crossed,
                                interval_.value_or(std::numeric_limits<double>::infinity())),
       step.seconds, time.time + weeks_);
}

// Extends the open span by each time, or closes it and opens the next, in
// one loop over locals, which the compiler keeps in registers.
void CampaignSpans::follow(std::span<const GoodTime> times) {
  // Without an interval no step is a gap: none exceeds infinity.
  const double interval = interval_.value_or(std::numeric_limits<double>::infinity());
  double last = last_time_;
  double weeks = weeks_;
  std::uint64_t last_record = span_.last_record;
  if (!times.empty() && none_cuts(last, times, interval)) {
    last = times.back().time;
    last_record = times.back().record;
    times = {};
  }
  for (const GoodTime& time : times) {
    const records::Step step = records::step_between(last, time.time);
    const double end = last + weeks;
    // A branch, rarely taken, rather than an addition every time, which
    // would chain each time's work to the one before.
    if (step.weeks != 0) weeks += step.weeks * kWeekSeconds;
    if (step.seconds < 0.0 || records::is_gap(step.seconds, time.crossed, interval)) {
      close(last_record, end);
      open(time, step.seconds < 0.0 ? Kind::back : Kind::gap, step.seconds, time.time + weeks);
    }
    last = time.time;
    last_record = time.record;
  }
  last_time_ = last;
  weeks_ = weeks;
  span_.last_record = last_record;
  span_.end = last + weeks;
}

void CampaignSpans::close(std::uint64_t last_record, double end) {
  span_.last_record = last_record;
  span_.end = end;
  table_.print_span(path_, span_);
}

// A span beginning at time, start on the axis, the step from the span
// before it away.
void CampaignSpans::open(const GoodTime& time, Kind kind, double step, double start) {
  span_.kind = kind;
  span_.first_record = span_.last_record = time.record;
  span_.start = span_.end = start;
  span_.missing = std::nullopt;
  if (kind != Kind::start && interval_) {
    span_.missing = records::time_missing(step, time.crossed, *interval_);
  }
}

}  // namespace navspan
