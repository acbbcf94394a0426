// SPDX-License-Identifier: MIT
#include "span_table.h"

#include <algorithm>
#include <cinttypes>

#include "program_io.h"

namespace navspan {
namespace {

// Each kind's word, whether it is a fault, and whether its missing time is
// time lost in the campaign: not the ground time between flights, nor an
// overlap or a step back.
const struct {
  const char* word;
  bool fault;
  bool lost;
} kKinds[] = {
    {"start", false, false}, {"next", false, false},  {"flight", false, false},
    {"hole", true, true},    {"overlap", true, false}, {"gap", true, true},
    {"back", true, false},
};

// Each note's word and its records column: an untimed file was read, and
// none of its records is in a span.
const struct {
  const char* word;
  const char* records;
} kNotes[] = {{"untimed", "0"}, {"unreadable", "-"}, {"corrupt", "-"}};

void print_time(std::FILE* out, std::optional<double> time) {
  if (time) {
    std::fprintf(out, "\t%.3f", *time);
  } else {
    std::fputs("\t-", out);
  }
}

}  // namespace

void SpanTable::print_header() { std::fputs("file\trecord\trecords\tstart_s\tend_s\tmissing_s\tkind\n", out_); }

void SpanTable::print_span(const char* path, const Span& span) {
  const auto& kind = kKinds[static_cast<int>(span.kind)];
  const std::uint64_t records = span.last_record - span.first_record + 1;
  records::print_path(out_, path);
  std::fprintf(out_, "\t%" PRIu64 "\t%" PRIu64 "\t%.3f\t%.3f", span.first_record, records, span.start,
               span.end);
  print_time(out_, span.missing);
  std::fprintf(out_, "\t%s\n", kind.word);
  records_ += records;
  earliest_ = std::min(earliest_, span.start);
  latest_ = std::max(latest_, span.end);
  if (kind.lost) missing_ += *span.missing;
  faulty_ = faulty_ || kind.fault;
}

void SpanTable::print_note(const char* path, Note note) {
  const auto& row = kNotes[static_cast<int>(note)];
  records::print_path(out_, path);
  std::fprintf(out_, "\t-\t%s\t-\t-\t-\t%s\n", row.records, row.word);
  unreadable_ = unreadable_ || note == Note::unreadable;
  faulty_ = true;
}

void SpanTable::print_total(bool any_interval) {
  const bool any_span = records_ > 0;  // a span holds at least one record
  std::fprintf(out_, "-\t-\t%" PRIu64, records_);
  print_time(out_, any_span ? std::optional(earliest_) : std::nullopt);
  print_time(out_, any_span ? std::optional(latest_) : std::nullopt);
  print_time(out_, any_interval ? std::optional(missing_) : std::nullopt);
  std::fputs("\ttotal\n", out_);
}

}  // namespace navspan
