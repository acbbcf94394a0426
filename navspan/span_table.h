// SPDX-License-Identifier: MIT
// The table navspan writes: a header line, a row for each span of the
// campaign as it closes, a row for each file without a span or whose
// reading failed, and a total row last; columns separated by tabs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>

namespace navspan {

// How a span begins: the campaign's first; at a file's first good time, by
// the step from the span before (next, a break between flights, a hole, an
// overlap); inside a file, after a gap or a step back.
enum class Kind { start, next, flight, hole, overlap, gap, back };

// A row for a file that is not a span: read to its end without a good
// time, not opened or not read to its end, its compressed stream damaged.
enum class Note { untimed, unreadable, corrupt };

struct Span {
  Kind kind = Kind::start;
  std::uint64_t first_record = 0;  // in its file, counted from 0
  std::uint64_t last_record = 0;
  double start = 0;  // its first and last time on the campaign's axis
  double end = 0;
  std::optional<double> missing;  // before it; nothing without an interval
};

// Writes the rows and keeps the totals of those written.
class SpanTable {
 public:
  explicit SpanTable(std::FILE* out) : out_(out) {}

  void print_header();
  void print_span(const char* path, const Span& span);
  void print_note(const char* path, Note note);
  // The total row; its missing time "-" when no file had an interval.
  void print_total(bool any_interval);

  // Whether a file was unreadable, and whether any row shows a fault.
  bool unreadable() const { return unreadable_; }
  bool faulty() const { return faulty_; }

 private:
  std::FILE* out_;
  std::uint64_t records_ = 0;
  double earliest_ = std::numeric_limits<double>::infinity();
  double latest_ = -std::numeric_limits<double>::infinity();
  double missing_ = 0;  // in gaps and holes
  bool unreadable_ = false;
  bool faulty_ = false;
};

}  // namespace navspan
