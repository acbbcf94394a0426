// SPDX-License-Identifier: MIT
// The spans of a campaign: its files' good times, in the order given, cut
// where a step is negative or a gap, and where a file begins; each span's
// times on the campaign's time axis, and how it begins.
//
// The time axis is the times as recorded plus whole weeks: a week rollover
// inside a file, or between files, adds a week to that time and every later
// one; a step back of more than kFlightBreak between files, in week
// seconds, means the next file starts in a later week.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "span_table.h"
#include "step_rules.h"

namespace navspan {

// Longer than this from one file's last time to the next file's first is a
// break between flights.
inline constexpr double kFlightBreak = 600.0;

class CampaignSpans {
 public:
  // Holds each file's first good times in window until its interval is
  // known; writes the spans to table as they close.
  CampaignSpans(records::IntervalWindow& window, SpanTable& table) : window_(window), table_(table) {}

  // The next file, named path in its rows.
  void begin_file(const char* path);
  // How its records are read: what carries from one record to the next
  // carries from file to file too.
  records::TimeReading& reading() { return reading_; }
  // Its next good times, in file order.
  void take(std::span<const records::GoodTime> times);
  // Or its next count records at p, read and taken at once when each has a
  // good time a plain step forward from the good time right before it
  // (records::is_plain_step) and a span is open; false, and nothing taken,
  // otherwise.
  bool take_plain_records(const std::byte* p, std::size_t count);
  // After its last record: closes its last span, or notes a file without
  // one; then the note of a failed reading, if any.
  void end_file(std::optional<Note> failure);

  // Whether any file so far had an interval of its own.
  bool any_interval() const { return in_force_.has_value(); }

 private:
  void settle();
  void walk(std::span<const records::GoodTime> times);
  void begin_file_span(const records::GoodTime& time);
  void follow(std::span<const records::GoodTime> times);
  void close(std::uint64_t last_record, double end);
  void open(const records::GoodTime& time, Kind kind, double step, double start);

  records::IntervalWindow& window_;
  SpanTable& table_;
  records::TimeReading reading_;
  // The file being read.
  const char* path_ = "";
  std::size_t held_ = 0;  // its first good times, in the window until settled
  bool settled_ = false;
  bool has_span_ = false;           // its last span is open until it ends
  std::optional<double> interval_;  // its own or the one in force
  // The campaign.
  std::optional<double> in_force_;  // the last file's interval of its own
  bool any_time_ = false;
  double last_time_ = 0;  // the last good time, as recorded
  double weeks_ = 0;      // seconds of the whole weeks added to it
  Span span_;             // the open span
};

}  // namespace navspan
