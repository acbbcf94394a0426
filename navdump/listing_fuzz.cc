// SPDX-License-Identifier: MIT
// Fuzz target: the listing block of an arbitrary record and first time.
// The input is one record (136 bytes) and t0 (8 more bytes, little-endian);
// the angles are converted and the block written to memory, and its layout
// is checked field by field.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "listing.h"
#include "sample_record.h"

namespace {

[[noreturn]] void fail(const char* what, std::string_view text) {
  std::fprintf(stderr, "invariant broken: %s\n%.*s\n", what, static_cast<int>(text.size()),
               text.data());
  std::abort();
}

// A printf field of the given minimum width at the front of text: blanks,
// then a token that ends at one of the stop characters or the end, no wider
// than the width unless the token needs more room. Returns the token and
// drops the field from text.
std::string_view take_field(std::string_view& text, std::size_t width, const char* stops,
                            const char* what) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) fail(what, text);
  const std::size_t end = std::min(text.find_first_of(stops, start + 1), text.size());
  if (end != std::max(width, end - start)) fail(what, text);
  const std::string_view token = text.substr(start, end - start);
  text.remove_prefix(end);
  return token;
}

std::string_view take_number(std::string_view& text, std::size_t width, const char* what) {
  return take_field(text, width, " ", what);
}

// A number printed with "%.<precision>lf": that many decimals, or nan/inf.
void expect_fixed_point(std::string_view token, int precision, const char* what) {
  if (!token.empty() && token[0] == '-') token.remove_prefix(1);
  if (token == "nan" || token == "inf") return;
  const std::size_t point = token.find('.');
  if (point == 0 || point == std::string_view::npos ||
      token.size() - point - 1 != static_cast<std::size_t>(precision) ||
      token.find_first_not_of("0123456789.") != std::string_view::npos ||
      token.find('.', point + 1) != std::string_view::npos) {
    fail(what, token);
  }
}

int take_int(std::string_view& text, std::size_t width, char separator, const char* what) {
  const std::string token(take_field(text, width, " ,:.", what));
  char* end = nullptr;
  const long value = std::strtol(token.c_str(), &end, 10);
  if (*end != '\0' || token.empty() || token[0] == '+') fail(what, token);
  if (separator != '\0') {
    if (text.empty() || text[0] != separator) fail(what, text);
    text.remove_prefix(1);
  } else if (!text.empty()) {
    fail(what, text);
  }
  return static_cast<int>(value);
}

// The token as "%.<precision>lf" prints the value.
void expect_printed(std::string_view token, double value, int precision, const char* what) {
  char want[400];
  std::snprintf(want, sizeof want, "%.*f", precision, value);
  if (token != want) fail(what, token);
}

void check_header(std::string_view line, double t) {
  constexpr std::string_view kStart = "===GPS Time: ";
  if (line.substr(0, kStart.size()) != kStart) fail("header start", line);
  line.remove_prefix(kStart.size());
  expect_printed(take_number(line, 22, "time field"), t, 13, "time value");
  if (line.substr(0, 2) != "  ") fail("two blanks after the time", line);
  line.remove_prefix(2);
  const int day = take_int(line, 3, ',', "day");
  const int hour = take_int(line, 2, ':', "hour");
  const int minute = take_int(line, 2, ':', "minute");
  const int second = take_int(line, 2, '.', "second");
  const int hundredths = take_int(line, 2, '\0', "hundredths");

  if (!std::isfinite(t) || std::fabs(t) >= 2147558400.0) {
    if (day != 0 || hour != 0 || minute != 0 || second != 0 || hundredths != 0) {
      fail("clock of a time without a day count", line);
    }
    return;
  }
  if (std::abs(hour) > 23 || std::abs(minute) > 59 || std::abs(second) > 59 ||
      hundredths < -99 || hundredths > 100) {
    fail("clock field out of range", line);
  }
  // No normalisation: every part carries the sign of the time.
  for (const int part : {day, hour, minute, second, hundredths}) {
    if ((t > 0 && part < 0) || (t < 0 && part > 0)) fail("sign of a clock field", line);
  }
  // The whole seconds add up to the time truncated; the hundredths are its
  // fraction rounded (half up, or toward zero by at most one below zero).
  const std::int64_t whole = static_cast<std::int64_t>(day) * 86400 + hour * 3600 +
                             minute * 60 + second;
  if (whole != static_cast<std::int64_t>(std::trunc(t))) fail("whole seconds", line);
  const double fraction = (t - std::trunc(t)) * 100.0;
  if (std::fabs(hundredths - fraction) > 1.5 + 1e-6) fail("hundredths", line);
}

void check_data_line(std::string_view line, const navdump::SampleRecord& record) {
  expect_fixed_point(take_number(line, 21, "elapsed time field"), 14, "elapsed time");
  for (std::size_t i = 1; i < navdump::kFieldCount; ++i) {
    if (line.empty() || line[0] != ' ') fail("one blank between fields", line);
    line.remove_prefix(1);
    expect_printed(take_number(line, 20, "data field"), record.field[i], 15, "data value");
  }
  if (!line.empty()) fail("17 numbers on the data line", line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Short inputs read as zero-padded; t0 is the time field of a second
  // record that begins at byte 136.
  std::array<std::byte, 2 * navdump::kRecordSize> bytes{};
  if (size > 0) std::memcpy(bytes.data(), data, std::min(size, bytes.size()));
  const std::span<const std::byte, 2 * navdump::kRecordSize> both(bytes);
  navdump::SampleRecord record = navdump::decode_record(both.first<navdump::kRecordSize>());
  const double t0 = navdump::decode_time(both.last<navdump::kRecordSize>());
  navdump::convert_angles(record);

  char* text = nullptr;
  std::size_t text_size = 0;
  std::FILE* out = open_memstream(&text, &text_size);
  if (out == nullptr) return 0;
  navdump::print_block(out, record, t0);
  if (std::fclose(out) != 0) fail("memory stream", "");
  const std::string_view block(text, text_size);

  // "\n" header "\n" data "\n", nothing else.
  const std::size_t header_end = block.find('\n', 1);
  const std::size_t data_end =
      header_end == std::string_view::npos ? header_end : block.find('\n', header_end + 1);
  if (block.empty() || block[0] != '\n' || data_end != block.size() - 1) {
    fail("an empty line, a header and a data line", block);
  }
  check_header(block.substr(1, header_end - 1), record.field[0]);
  check_data_line(block.substr(header_end + 1, data_end - header_end - 1), record);
  std::free(text);
  return 0;
}
