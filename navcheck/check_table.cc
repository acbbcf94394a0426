// SPDX-License-Identifier: MIT
#include "check_table.h"

#include <cinttypes>
#include <iterator>

#include "program_io.h"

namespace navcheck {
namespace {

void print_count(std::FILE* out, std::uint64_t count) { std::fprintf(out, "%" PRIu64, count); }

void print_value(std::FILE* out, std::optional<double> value, const char* format) {
  if (value) {
    std::fprintf(out, format, *value);
  } else {
    std::fputc('-', out);
  }
}

void print_time(std::FILE* out, std::optional<double> value) { print_value(out, value, "%.3f"); }

// The columns between the file and the verdict, each with how a checked
// file prints it.
const struct {
  const char* name;
  void (*print)(std::FILE* out, const FileCheck& check);
} kColumns[] = {
    {"format", [](std::FILE* out, const FileCheck& c) { std::fputs(records::format_name(c.format), out); }},
    {"records", [](std::FILE* out, const FileCheck& c) { print_count(out, c.records); }},
    {"extra", [](std::FILE* out, const FileCheck& c) { print_count(out, c.extra); }},
    {"blank", [](std::FILE* out, const FileCheck& c) { print_count(out, c.blank); }},
    {"first_s", [](std::FILE* out, const FileCheck& c) { print_time(out, c.steps.first()); }},
    {"last_s", [](std::FILE* out, const FileCheck& c) { print_time(out, c.steps.last()); }},
    {"step_s", [](std::FILE* out, const FileCheck& c) { print_value(out, c.steps.interval(), "%.6f"); }},
    {"gaps", [](std::FILE* out, const FileCheck& c) { print_count(out, c.steps.gaps()); }},
    {"gap_s", [](std::FILE* out, const FileCheck& c) { print_time(out, c.steps.gap_time()); }},
    {"longest_s", [](std::FILE* out, const FileCheck& c) { print_time(out, c.steps.longest()); }},
    {"back", [](std::FILE* out, const FileCheck& c) { print_count(out, c.steps.backward()); }},
    {"rollover", [](std::FILE* out, const FileCheck& c) { print_count(out, c.steps.rollovers()); }},
    {"bad_time", [](std::FILE* out, const FileCheck& c) { print_count(out, c.bad_time); }},
    {"bad_value", [](std::FILE* out, const FileCheck& c) { print_count(out, c.bad_value); }},
};

// The faults of a file that was read, in the order of the verdict, after
// "unreadable".
const struct {
  const char* word;
  bool (*found)(const FileCheck& check);
} kFaults[] = {
    {"corrupt", [](const FileCheck& c) { return c.corrupt; }},
    {"empty", [](const FileCheck& c) { return c.records == 0; }},
    {"truncated", [](const FileCheck& c) { return c.extra > 0; }},
    {"blank", [](const FileCheck& c) { return c.blank > 0; }},
    {"bad-time", [](const FileCheck& c) { return c.bad_time > 0; }},
    {"bad-value", [](const FileCheck& c) { return c.bad_value > 0; }},
    {"backward", [](const FileCheck& c) { return c.steps.backward() > 0; }},
    {"gaps", [](const FileCheck& c) { return c.steps.gaps() > 0; }},
};
constexpr Faults kUnreadable = Faults{1} << std::size(kFaults);

}  // namespace

void print_header(std::FILE* out) {
  std::fputs("file", out);
  for (const auto& column : kColumns) std::fprintf(out, "\t%s", column.name);
  std::fputs("\tverdict\n", out);
}

Faults faults_of(const std::optional<FileCheck>& check) {
  if (!check) return kUnreadable;
  Faults faults = 0;
  for (std::size_t i = 0; i < std::size(kFaults); ++i) {
    faults |= kFaults[i].found(*check) ? Faults{1} << i : 0;
  }
  return faults;
}

bool unreadable(Faults faults) { return (faults & kUnreadable) != 0; }

void print_row(std::FILE* out, const char* path, const std::optional<FileCheck>& check,
               Faults faults) {
  records::print_path(out, path);
  for (const auto& column : kColumns) {
    std::fputc('\t', out);
    if (check) {
      column.print(out, *check);
    } else {
      std::fputc('-', out);
    }
  }
  if (unreadable(faults)) {
    std::fputs("\tunreadable\n", out);
    return;
  }
  const char* separator = "\t";
  for (std::size_t i = 0; i < std::size(kFaults); ++i) {
    if ((faults & (Faults{1} << i)) == 0) continue;
    std::fprintf(out, "%s%s", separator, kFaults[i].word);
    separator = ",";
  }
  std::fputs(faults == 0 ? "\tok\n" : "\n", out);
}

}  // namespace navcheck
