// SPDX-License-Identifier: MIT
// The files of the tests: the command-line test file, the hard cases for
// comparing builds and the fuzz seeds.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <vector>

#include "generator.h"
#include "sample_writer.h"
#include "test_files.h"

namespace tools {
namespace {

using records::kFieldCount;
using records::kRecordSize;
using records::SampleRecord;

constexpr double kInf = std::numeric_limits<double>::infinity();
// By their bits, the same on every host: MIPS's own quiet NaN has other
// bits, and negating a NaN there may not just flip its sign.
constexpr double kNaN = std::bit_cast<double>(std::uint64_t{0x7ff8000000000000});
constexpr double kNegativeNaN = std::bit_cast<double>(std::uint64_t{0xfff8000000000000});

// ---- The command-line test file.

// A signed 53-bit integer scaled by a power of two: exact everywhere.
double scaled(std::uint64_t bits, int exponent) {
  const auto integer = static_cast<std::int64_t>(bits >> 11) - (std::int64_t{1} << 52);
  return std::ldexp(static_cast<double>(integer), exponent);
}

// ---- Record files of known times, for navcheck and navspan.

// Times are start + index / rate and values small multiples of 2^-10: the
// same bytes on every host.
SampleRecord valued(double time, std::size_t index) {
  SampleRecord r;
  r.field[0] = time;
  for (std::size_t f = 1; f < kFieldCount; ++f) {
    r.field[f] = static_cast<double>(f) + static_cast<double>(index % 1024) * 0x1p-10;
  }
  return r;
}

std::vector<SampleRecord> flight(std::size_t count, double start, double rate, std::size_t from = 0) {
  std::vector<SampleRecord> records;
  for (std::size_t i = from; i < from + count; ++i) {
    records.push_back(valued(start + static_cast<double>(i) / rate, i));
  }
  return records;
}

std::vector<SampleRecord> joined(std::vector<SampleRecord> a, const std::vector<SampleRecord>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<SampleRecord> with_times(std::initializer_list<double> times) {
  std::vector<SampleRecord> records;
  for (const double t : times) records.push_back(valued(t, records.size()));
  return records;
}

}  // namespace

std::string write_listing_case(const std::string& path) {
  // Values are built from integers and literals, never computed in floating
  // point. The three listed records carry delicate times (hundredths
  // reaching 100, a negative time, a time past the day count) and, in the
  // second, a special value in every field.
  const double specials[] = {kNaN, kNegativeNaN, kInf, -kInf, -0.0,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(), 1e22,
                             0x1p-16 * 3,  // a decimal tie at the 15th decimal
                             9.9999999999999995, 3.141592653589793,
                             std::bit_cast<double>(0x7ff4000000000000)};
  const double listed_times[] = {86399.996, -3661.5, navdump::kBreakdownLimit + 0.5};
  Generator g(20261209);
  std::vector<SampleRecord> records(9001);
  for (std::size_t i = 0; i < records.size(); ++i) {
    SampleRecord& r = records[i];
    r.field[0] = 345600.0 + static_cast<double>(i);
    for (std::size_t f = 1; f < kFieldCount; ++f) {
      const std::uint64_t bits = g.next();
      r.field[f] = scaled(bits, f <= 2 || (f >= 7 && f <= 10) ? -50 : static_cast<int>(bits % 64) - 60);
    }
    if ((i + 1) % 3000 == 0) {
      const std::size_t block = (i + 1) / 3000;
      r.field[0] = listed_times[block - 1];
      if (block == 2) {
        for (std::size_t f = 1; f < kFieldCount; ++f) r.field[f] = specials[f % std::size(specials)];
      }
    }
  }
  const std::vector<std::byte> trailing(135, std::byte{0x42});
  return write_record_file(path, records, trailing) ? std::string() : path;
}

std::string write_hard_cases(const std::string& dir) {
  // The first time decides which NaN an elapsed time shows: drawn like the
  // rest, a signalling NaN, an infinity (inf - inf) or a quiet NaN (of two
  // NaNs with one payload the positive wins). Every third listed time is
  // special too.
  const struct {
    const char* name;
    std::uint64_t first_time;
  } cases[] = {{"drawn_first_time", 0},
               {"signalling_first_time", 0x7ff4000000000000},
               {"infinite_first_time", 0x7ff0000000000000},
               {"quiet_nan_first_time", 0x7ff8000000000000}};
  const std::uint64_t special_times[] = {0x7ff0000000000000, 0xfff0000000000000,
                                         0x7ff8000000000000, 0xfff8000000000000,
                                         0xfff4000000000000, 0x7ff8000000000001};
  constexpr std::size_t kRecords = 3000 * 40 + 17;  // 40 listed records
  Generator g(20261208);
  for (std::size_t c = 0; c < std::size(cases); ++c) {
    std::vector<SampleRecord> records(kRecords);
    for (std::size_t i = 0; i < kRecords; ++i) {
      for (double& f : records[i].field) f = g.value();
      records[i].field[0] = i % 2 == 0 ? g.time() : g.value();
      if (i % 9000 == 8999) {
        records[i].field[0] = std::bit_cast<double>(special_times[g.below(std::size(special_times))]);
      }
    }
    if (cases[c].first_time != 0) records[0].field[0] = std::bit_cast<double>(cases[c].first_time);
    // A trailing partial record of a different length in each.
    const std::vector<std::byte> trailing(c * 45, std::byte{0x42});
    std::string path = dir + "/" + cases[c].name + ".rec";
    if (!write_record_file(path, records, trailing)) return path;
  }
  return {};
}

std::string write_check_cases(const std::string& dir) {
  const std::vector<SampleRecord> blanks(500);
  const std::vector<SampleRecord> clean = flight(12000, 345600.0, 50.0);
  std::vector<SampleRecord> bad_times = flight(300, 345600.0, 50.0);
  bad_times[0].field[0] = -kInf;  // the first and last times are the good ones
  bad_times[299].field[0] = kNaN;
  bad_times[10].field[0] = kNaN;
  bad_times[20].field[0] = kInf;
  bad_times[200].field[0] = kNegativeNaN;
  std::vector<SampleRecord> bad_values = flight(300, 345600.0, 50.0);
  bad_values[5].field[3] = kNaN;
  bad_values[7].field[16] = kInf;
  bad_values[9].field[1] = -kInf;
  bad_values[9].field[2] = kNaN;
  // Signalling, among the last doubles of the last block.
  bad_values[299].field[16] = std::bit_cast<double>(0x7ff4000000000000);
  // Alone in its block of 32, where a scan taking 8 or 4 doubles a time
  // finds it in its second half.
  bad_values[100].field[2] = kInf;
  std::vector<SampleRecord> repeated;  // a clock that ticks every third record
  for (std::size_t i = 0; i < 30; ++i) {
    const std::size_t tick = 1 + i / 3;
    repeated.push_back(valued(static_cast<double>(tick), i));
  }
  // The first 10,000 steps set the interval: 1, as 4,999 + 1 steps of 1
  // against 5,000 of 1.25, where one step fewer or more gives 1.25. Gaps and
  // steps back count after them too.
  std::vector<double> window_steps(4999, 1.0);
  window_steps.resize(9999, 1.25);
  window_steps.push_back(1.0);
  window_steps.resize(10100, 1.25);
  window_steps.push_back(10.0);
  window_steps.resize(10200, 1.25);
  window_steps.push_back(-5.0);
  window_steps.resize(10300, 1.25);
  std::vector<SampleRecord> window = with_times({1.0});
  for (const double step : window_steps) window.push_back(valued(window.back().field[0] + step, 0));
  // A NaN time alone, and every other time NaN: steps across them span two
  // intervals, and are no gaps.
  std::vector<SampleRecord> nan_inside = flight(3000, 345600.0, 50.0);
  nan_inside[1500].field[0] = kNaN;
  std::vector<SampleRecord> every_other_nan = flight(3000, 345600.0, 50.0);
  for (std::size_t i = 1; i < every_other_nan.size(); i += 2) every_other_nan[i].field[0] = kNaN;
  // A bit of a time's exponent flipped: 2^274 s, too large to be a time.
  std::vector<SampleRecord> flipped = flight(3000, 345600.0, 50.0);
  flipped[1000].field[0] =
      std::bit_cast<double>(std::bit_cast<std::uint64_t>(flipped[1000].field[0]) ^ (std::uint64_t{1} << 60));
  // Records before the first fix, with real values and a time of zero.
  std::vector<SampleRecord> before_fix = flight(3050, 345599.0, 50.0);
  for (std::size_t i = 0; i < 50; ++i) before_fix[i].field[0] = 0.0;
  // Across the end of the week: in a gap; with a late record, a time of the
  // week before, written after the first of the new week; from 604,800 to 0.
  const auto week_end = [&](std::size_t count, double first, double after) {
    std::vector<SampleRecord> records = flight(count, first, 50.0);
    for (std::size_t i = 0; i < count; ++i) {
      if (records[i].field[0] >= 604800.0) records[i].field[0] = after + static_cast<double>(i) / 50.0 - 604800.0 + first;
    }
    return records;
  };
  std::vector<SampleRecord> late_record = week_end(100, 604799.0, 0.0);
  late_record.insert(late_record.begin() + 53, valued(604799.99, 53));
  std::vector<SampleRecord> written_twice = flight(300, 345600.0, 50.0);
  written_twice.insert(written_twice.begin() + 100, written_twice[100]);
  // After the first 10,000 steps, where most records take the fast way:
  // NaN times alone and every other one, a blank record, a zero time that
  // is bad and one that begins the week, a late record, a gap and a record
  // written twice.
  std::vector<SampleRecord> after_window = week_end(12000, 604588.0, 0.0);
  after_window[10200].field[0] = kNaN;
  for (std::size_t i = 10301; i < 10321; i += 2) after_window[i].field[0] = -kInf;
  after_window[10400] = SampleRecord{};
  after_window[10500].field[0] = 0.0;
  after_window.insert(after_window.begin() + 10650, valued(604799.99, 0));
  after_window.erase(after_window.begin() + 10700, after_window.begin() + 10710);
  after_window.insert(after_window.begin() + 10800, after_window[10800]);
  // Every fault of a raw file at once: a gap, a NaN time, an infinite
  // value, a step back, a blank record and a cut record.
  std::vector<SampleRecord> all_faults =
      joined(joined(flight(200, 0.02, 50.0), flight(100, 0.02, 50.0, 250)), flight(100, 0.02, 50.0));
  all_faults[50].field[0] = kNaN;
  all_faults[60].field[5] = kInf;
  all_faults[70] = SampleRecord{};
  const std::vector<std::byte> cut(100, std::byte{0x42});
  // Two records of zeros and 10 bytes, behind a signature; with no
  // records, those bytes are written over the first record's. The zeros
  // are a good gzip, zstd or bzip2 header followed by bad data; xz's header
  // fails its check, and a reserved bit makes no zstd header, so those two
  // files are raw.
  const auto signature = [](std::string_view bytes) {
    std::vector<std::byte> file(2 * kRecordSize + 10);
    std::memcpy(file.data(), bytes.data(), bytes.size());
    return file;
  };
  // Its cut record, which the reader keeps at its buffer's front, begins
  // "BZh9" too: a three-byte file after it must not be read past its end.
  std::vector<std::byte> bzip2 = signature("BZh9");
  std::memcpy(bzip2.data() + 2 * kRecordSize, "BZh9", 4);
  std::vector<std::byte> gzip_head(100);  // no whole record
  std::memcpy(gzip_head.data(), "\x1f\x8b\x08", 3);
  const double u = std::numeric_limits<double>::denorm_min();
  const struct {
    const char* name;
    std::vector<SampleRecord> records;
    std::vector<std::byte> trailing;
  } cases[] = {
      {"clean_50hz.rec", clean, {}},
      {"cut_record.rec", clean, cut},
      {"one_byte_over.rec", flight(1, 345600.0, 50.0), {std::byte{0}}},
      {"records_removed.rec",
       joined(joined(flight(3000, 345600.0, 50.0), flight(5950, 345600.0, 50.0, 3050)),
              flight(2750, 345600.0, 50.0, 9250)),
       {}},
      {"bad_times.rec", bad_times, {}},
      {"bad_values.rec", bad_values, {}},
      {"empty.rec", {}, {}},
      {"one_record.rec", flight(1, 345600.0, 50.0), {}},
      {"hundred_bytes.rec", {}, cut},
      // Steps 1, 2, 1.5 and 1: the interval is 1, and 1.5 is no gap.
      {"lower_middle.rec", with_times({1.0, 2.0, 4.0, 5.5, 6.5}), {}},
      {"repeated_times.rec", repeated, {}},
      {"interval_window.rec", window, {}},
      {"no_good_time.rec", with_times({kNaN, kInf, 0.0, -1.0, 0x1p32}), {}},
      // Steps 3u and 5u (u the smallest subnormal): 5u is a gap, though
      // half the interval rounds to 2u.
      {"subnormal_interval.rec", with_times({u, 4 * u, 9 * u}), {}},
      {"nan_inside.rec", nan_inside, {}},
      {"every_other_nan.rec", every_other_nan, {}},
      {"flipped_exponent.rec", flipped, {}},
      {"before_fix.rec", before_fix, {}},
      {"power_cut.rec", joined(flight(2000, 345600.0, 50.0), blanks), {}},
      {"zero_filled.rec", blanks, {}},
      {"written_twice.rec", written_twice, {}},
      {"week_rollover.rec", week_end(2000, 604780.0, 0.0), {}},
      {"rollover_in_gap.rec", week_end(1000, 604790.0, 10.0), {}},
      {"late_record.rec", late_record, {}},
      // 604,800 then 0: the same instant, written twice.
      {"week_end_zero.rec", with_times({604799.98, 604800.0, 0.0, 0.02}), {}},
      // 0 after 604,799 s, the earliest time that ends a week: a good time.
      {"week_start_bound.rec", with_times({604799.0, 0.0}), {}},
      // Steps of -302,400 and +302,400 s: rollovers; -302,399.99: none.
      {"rollover_bounds.rec", with_times({302401.0, 1.0, 302401.0}), {}},
      {"no_rollover.rec", with_times({302400.99, 1.0}), {}},
      {"all_faults.rec", all_faults, std::vector<std::byte>(10)},
      {"faults_after_window.rec", after_window, {}},
      {"gzip.rec", {}, gzip_head},
      {"not_bzip2.rec", {}, signature("BZh0")},
      {"xz.rec", {}, signature(std::string_view("\xfd" "7zXZ\0", 6))},
      {"zstd.rec", {}, signature("\x28\xb5\x2f\xfd")},
      {"zstd_reserved_bit.rec", {}, signature("\x28\xb5\x2f\xfd\x08")},
      {"bzip2.rec", {}, bzip2},
      // Each signature but for its last byte, and the first three of bzip2's.
      {"near_gzip.rec", {}, signature("\x1f\x8b\x09")},
      {"near_xz.rec", {}, signature(std::string_view("\xfd" "7zXZ\1", 6))},
      {"near_zstd.rec", {}, signature("\x28\xb5\x2f\xfc")},
      {"bzip2_three_bytes.rec", {}, {std::byte{'B'}, std::byte{'Z'}, std::byte{'h'}}},
  };
  for (const auto& c : cases) {
    std::string path = dir + "/" + c.name;
    if (!write_record_file(path, c.records, c.trailing)) return path;
  }
  return {};
}

std::string write_span_cases(const std::string& dir) {
  // Files of 40 records at 4 Hz, 10 s, whose times and steps are exact.
  const auto run = [](double start, std::size_t count = 40) { return flight(count, start, 4.0); };
  // Times past the week's end as a recorder writes them: from 0 again.
  const auto wrapped = [](std::vector<SampleRecord> records) {
    for (SampleRecord& r : records) r.field[0] -= r.field[0] >= 604800.0 ? 604800.0 : 0.0;
    return records;
  };
  // A gap across two bad times, one across none, and a bad time alone.
  std::vector<SampleRecord> gap_inside = joined(flight(100, 345600.0, 4.0), flight(60, 345600.0, 4.0, 140));
  gap_inside.erase(gap_inside.begin() + 32);
  gap_inside[30].field[0] = gap_inside[31].field[0] = kNaN;
  gap_inside[49].field[0] = kNaN;
  // A clock that stands still for 20 records, then catches up.
  std::vector<SampleRecord> frozen = run(345600.0, 80);
  for (std::size_t i = 20; i < 40; ++i) frozen[i].field[0] = frozen[19].field[0];
  // A step of 1.5 intervals, no gap, and of 1.625, a gap, each the one
  // step of its file that might be.
  const auto late_from_20 = [&](double start, double late) {
    std::vector<SampleRecord> records = run(start);
    for (std::size_t i = 20; i < records.size(); ++i) records[i].field[0] += late;
    return records;
  };
  // Blank records, times of zero and NaN before the first good time and
  // inside the span, and NaN after the last, across which the next file's
  // first step spans three intervals.
  SampleRecord zero_time = valued(0.0, 0);
  const SampleRecord nan_time = valued(kNaN, 0);
  std::vector<SampleRecord> bad_records(3);
  bad_records.insert(bad_records.end(), {zero_time, zero_time, nan_time});
  std::vector<SampleRecord> timed = run(345600.0);
  timed[20].field[0] = 0.0;
  timed[30].field[0] = kNaN;
  timed.insert(timed.begin() + 11, SampleRecord{});
  bad_records = joined(joined(bad_records, timed), {nan_time, nan_time});
  // An overlap of exactly a flight break, then a step back of just more.
  const double back_600 = 172809.75 - 600.0;
  struct SpanFile {
    std::string name;
    std::vector<SampleRecord> records;
  };
  const struct {
    const char* name;
    std::vector<SpanFile> files;
  } campaigns[] = {
      {"clean_run", {{"a.rec", run(345600.0)}, {"b.rec", run(345610.0)}, {"c.rec", run(345620.0)}}},
      {"two_flights",
       {{"a.rec", run(345600.0)}, {"b.rec", run(345610.0)}, {"c.rec", run(352800.0)}, {"d.rec", run(352810.0)}}},
      // Steps of 600 s, a hole, and 600.25 s, a break between flights.
      {"flight_break", {{"a.rec", run(345600.0)}, {"b.rec", run(346209.75)}, {"c.rec", run(346819.75)}}},
      {"gap_inside", {{"a.rec", gap_inside}}},
      {"short_gaps", {{"a.rec", late_from_20(345600.0, 0.125)}, {"b.rec", late_from_20(345610.125, 0.15625)}}},
      {"hole_overlap", {{"a.rec", run(345600.0)}, {"b.rec", run(345620.0)}, {"c.rec", run(345624.5)}}},
      {"step_back", {{"a.rec", joined(run(345600.0), run(345590.0))}}},
      {"frozen_clock", {{"a.rec", frozen}}},
      {"repeated_at_file_start",
       {{"a.rec", run(345600.0)}, {"b.rec", joined({run(345600.0).back()}, run(345610.0, 39))}}},
      {"rollover_inside", {{"a.rec", wrapped(run(604790.0, 80))}}},
      {"rollover_in_gap", {{"a.rec", wrapped(joined(run(604790.0), run(604805.0)))}}},
      {"rollover_between_files", {{"a.rec", run(604790.0)}, {"b.rec", wrapped(run(604800.0))}}},
      // Half a week forward: a late record of the week before.
      {"late_by_half_a_week", {{"a.rec", with_times({1.0, 302401.0})}}},
      // Monday, Saturday; Tuesday and Thursday of the next week; Tuesday of
      // the week after, an overlap of 600 s, and 600.25 s back.
      {"weeks",
       {{"a.rec", run(86400.0)},
        {"b.rec", run(518400.0)},
        {"c.rec", run(172800.0)},
        {"d.rec", run(345600.0)},
        {"e.rec", run(172800.0)},
        {"f.rec", run(back_600)},
        {"g.rec", run(back_600 + 9.75 - 600.25)}}},
      // Seconds since 1980 are never shifted by a week.
      {"beyond_week", {{"a.rec", run(1.4e9)}, {"b.rec", run(1.4e9 + 9.75 - 1000.0)}}},
      {"bad_records", {{"a.rec", bad_records}, {"b.rec", flight(40, 345600.0, 4.0, 42)}}},
      // Five bad times and an empty file between two files, 1.5 s apart;
      // c.rec is a link to nothing and d.rec a folder.
      {"unreadable_untimed",
       {{"a.rec", run(345600.0)},
        {"b.rec", std::vector<SampleRecord>(5, nan_time)},
        {"e.rec", {}},
        {"f.rec", flight(40, 345600.0, 4.0, 45)}}},
      {"tab_in_name", {{"a\tfirst.rec", run(345600.0)}, {"b.rec", run(345610.0)}}},
      // A single record takes the interval of the file before it, 0.25 s,
      // then 1 s after a file of 1 Hz.
      {"interval_in_force",
       {{"a.rec", run(345600.0)},
        {"b.rec", with_times({345610.25})},
        {"c.rec", flight(20, 345620.0, 1.0)},
        {"d.rec", with_times({345640.0})}}},
      {"no_interval",
       {{"a.rec", with_times({345600.0})}, {"b.rec", with_times({345605.0})}, {"c.rec", with_times({346205.25})}}},
  };
  std::error_code error;
  for (const auto& c : campaigns) {
    const std::string folder = dir + "/" + c.name;
    std::filesystem::create_directories(folder, error);
    for (const SpanFile& f : c.files) {
      std::string path = folder + "/" + f.name;
      if (!write_record_file(path, f.records)) return path;
    }
  }
  const std::string unreadable = dir + "/unreadable_untimed/";
  std::filesystem::create_directories(unreadable + "d.rec", error);
  std::filesystem::remove(unreadable + "c.rec", error);
  std::filesystem::create_symlink("nothing", unreadable + "c.rec", error);
  return error ? unreadable : std::string();
}

}  // namespace tools
