// SPDX-License-Identifier: MIT
#include "record_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "fake_input.h"
#include "sample_writer.h"

namespace navdump {
namespace {

// Bytes of n records whose field 0 is the record's number from 1, then
// extra bytes.
std::vector<std::byte> numbered_records(std::size_t n, std::size_t extra = 0) {
  std::vector<std::byte> bytes;
  for (std::size_t i = 1; i <= n; ++i) {
    SampleRecord r;
    r.field[0] = static_cast<double>(i);
    r.field[16] = -static_cast<double>(i);
    const auto one = tools::encode_record(r);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  bytes.resize(bytes.size() + extra, std::byte{0x5A});
  return bytes;
}

struct Listed {
  std::vector<double> numbers;  // field 0 of each listed record
  bool whole = true;            // field 16 matches field 0 in every one
  double first_time = 0.0;
  std::int64_t count = 0;
  int error = 0;
};

Listed list_all(ByteSource& source, std::uint32_t interval, std::size_t buffer_size = 4096) {
  std::vector<std::byte> buffer(buffer_size);
  ListedRecords records(source, interval, buffer);
  Listed listed;
  while (const auto bytes = records.next()) {
    const SampleRecord r = decode_record(*bytes);
    listed.numbers.push_back(r.field[0]);
    listed.whole = listed.whole && r.field[16] == -r.field[0];
  }
  listed.first_time = records.first_time();
  listed.count = records.record_count();
  listed.error = records.read_error();
  return listed;
}

TEST(ListedRecords, ListsEveryNthWholeRecordAndCountsUpToAReadError) {
  constexpr std::size_t kNoFault = static_cast<std::size_t>(-1);
  struct Case {
    std::size_t records, extra, fail_at;
    std::vector<double> listed;
    std::int64_t count;
  };
  const Case cases[] = {
      {0, 0, kNoFault, {}, 0},
      {0, 135, kNoFault, {}, 0},
      {2, 0, kNoFault, {}, 2},
      {3, 0, kNoFault, {3}, 3},
      {10, 1, kNoFault, {3, 6, 9}, 10},
      {11, 135, kNoFault, {3, 6, 9}, 11},
      // EIO in the first record, a skipped span, a listed record, and just
      // past a listed record.
      {12, 3, 50, {}, 0},
      {12, 3, 4 * kRecordSize + 70, {3}, 4},
      {12, 3, 5 * kRecordSize + 135, {3}, 5},
      {12, 3, 6 * kRecordSize, {3, 6}, 6},
  };
  // How the source hands the bytes over: as asked; in short transfers,
  // some interrupted; and with skips refused as the kernel, a sandbox or a
  // missing null device refuses them.
  struct Transfer {
    std::vector<std::size_t> chunks;
    int interrupt_every, refuse_skips_after, refusal;
  };
  const Transfer transfers[] = {{{}, 0, -1, 0},          {{1}, 2, -1, 0},
                                {{135, 137}, 3, -1, 0},  {{1, 271, 136, 3}, 3, -1, 0},
                                {{7}, 0, 0, EINVAL},     {{}, 0, 1, EPERM},
                                {{300}, 2, 0, EACCES},   {{}, 0, 2, EOPNOTSUPP}};
  for (const Case& c : cases) {
    for (const Transfer& t : transfers) {
      FakeInput input(numbered_records(c.records, c.extra));
      input.fail_at = c.fail_at;
      input.chunks = t.chunks;
      input.interrupt_every = t.interrupt_every;
      input.refuse_skips_after = t.refuse_skips_after;
      input.refusal = t.refusal;
      const Listed listed = list_all(input, 3, 100);
      SCOPED_TRACE(::testing::Message() << c.records << "+" << c.extra << " fail at "
                                        << c.fail_at << ", transfer " << &t - transfers);
      EXPECT_EQ(listed.numbers, c.listed);
      EXPECT_TRUE(listed.whole);
      EXPECT_EQ(listed.count, c.count);
      EXPECT_EQ(listed.first_time, c.count > 0 ? 1.0 : 0.0);
      EXPECT_EQ(listed.error, c.fail_at == kNoFault ? 0 : EIO);
      EXPECT_EQ(input.offset, std::min(c.fail_at, input.bytes.size()))
          << "every byte is pulled through";
      if (t.refuse_skips_after < 0) {
        // Only the first and the listed records are copied.
        const std::size_t copied = c.count > 0 ? 1 + c.listed.size() : 0;
        const std::size_t partial = c.fail_at == kNoFault ? c.extra : kRecordSize;
        EXPECT_LE(input.bytes_read, copied * kRecordSize + partial);
      }
    }
  }
  FakeInput every(numbered_records(4));
  EXPECT_EQ(list_all(every, 1).numbers, (std::vector<double>{1, 2, 3, 4}));
}

TEST(ListedRecords, RefusedSkipMeansReadingTheRest) {
  for (int refuse_after : {0, 2}) {
    // No read buffer at all, one smaller than a record and a large one.
    for (std::size_t buffer : {0U, 100U, 4096U}) {
      FakeInput input(numbered_records(40, 9));
      input.chunks = {300};
      input.refuse_skips_after = refuse_after;
      const Listed listed = list_all(input, 5, buffer);
      EXPECT_EQ(listed.numbers.size(), 8U) << refuse_after << " " << buffer;
      EXPECT_EQ(listed.numbers.back(), 40.0);
      EXPECT_TRUE(listed.whole);
      EXPECT_EQ(listed.count, 40);
      EXPECT_EQ(input.skips, refuse_after) << "no skip is tried once refused";
      EXPECT_EQ(input.offset, input.bytes.size());
    }
  }
}

}  // namespace
}  // namespace navdump
