// SPDX-License-Identifier: MIT
#include "check_table.h"

#include <cinttypes>

namespace navcheck {
namespace {

// The path as given, with a tab, newline, carriage return or backslash
// escaped, so that a row stays one line of its columns.
void print_path(std::FILE* out, const char* path) {
  for (const char* c = path; *c != '\0'; ++c) {
    switch (*c) {
      case '\t': std::fputs("\\t", out); break;
      case '\n': std::fputs("\\n", out); break;
      case '\r': std::fputs("\\r", out); break;
      case '\\': std::fputs("\\\\", out); break;
      default: std::putc(*c, out);
    }
  }
}

void print_count(std::FILE* out, std::uint64_t count) { std::fprintf(out, "\t%" PRIu64, count); }

void print_time(std::FILE* out, std::optional<double> value, const char* format) {
  if (value) {
    std::fprintf(out, format, *value);
  } else {
    std::fputs("\t-", out);
  }
}

}  // namespace

void print_header(std::FILE* out) {
  std::fputs("file\trecords\textra\tfirst_s\tlast_s\tstep_s\tgaps\tgap_s\tlongest_s\tback\t"
             "bad_time\tbad_value\tverdict\n",
             out);
}

std::string verdict(const std::optional<FileCheck>& check) {
  if (!check) return "unreadable";
  const TimeSteps& steps = check->steps;
  const struct {
    bool found;
    const char* word;
  } faults[] = {{check->compression != nullptr, check->compression},
                {check->corrupt, "corrupt"},
                {check->records == 0, "empty"},
                {check->extra > 0, "truncated"},
                {check->bad_time > 0, "bad-time"},
                {check->bad_value > 0, "bad-value"},
                {steps.backward() > 0, "backward"},
                {steps.gaps() > 0, "gaps"}};
  std::string words;
  for (const auto& fault : faults) {
    if (!fault.found) continue;
    if (!words.empty()) words += ',';
    words += fault.word;
  }
  return words.empty() ? "ok" : words;
}

void print_row(std::FILE* out, const char* path, const std::optional<FileCheck>& check,
               const std::string& verdict) {
  print_path(out, path);
  if (check) {
    const TimeSteps& steps = check->steps;
    print_count(out, check->records);
    print_count(out, check->extra);
    print_time(out, steps.first(), "\t%.3f");
    print_time(out, steps.last(), "\t%.3f");
    print_time(out, steps.interval(), "\t%.6f");
    print_count(out, steps.gaps());
    print_time(out, steps.gap_time(), "\t%.3f");
    print_time(out, steps.longest(), "\t%.3f");
    print_count(out, steps.backward());
    print_count(out, check->bad_time);
    print_count(out, check->bad_value);
  } else {
    std::fputs("\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-\t-", out);
  }
  std::fprintf(out, "\t%s\n", verdict.c_str());
}

}  // namespace navcheck
