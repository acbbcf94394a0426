#include "record_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "fake_input.h"

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
    const auto one = encode_record(r);
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
  bool read_path = false;
};

Listed list_all(ByteSource& source, std::int64_t interval, std::size_t buffer_size = 4096) {
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
  listed.read_path = records.on_read_path();
  return listed;
}

TEST(ListedRecords, CountIsExactAndOnlyListedRecordsAreCopied) {
  struct Case {
    std::size_t records, extra;
    std::vector<double> listed;
  };
  for (const Case& c : {Case{0, 0, {}}, Case{0, 135, {}}, Case{2, 0, {}}, Case{3, 0, {3}},
                        Case{10, 1, {3, 6, 9}}, Case{11, 135, {3, 6, 9}}}) {
    FakeInput input(numbered_records(c.records, c.extra));
    const Listed listed = list_all(input, 3);
    EXPECT_EQ(listed.numbers, c.listed) << c.records << "+" << c.extra;
    EXPECT_TRUE(listed.whole);
    EXPECT_EQ(listed.count, static_cast<std::int64_t>(c.records));
    EXPECT_EQ(listed.first_time, c.records > 0 ? 1.0 : 0.0);
    EXPECT_EQ(listed.error, 0);
    EXPECT_EQ(input.offset, input.bytes.size()) << "every byte is pulled through";
    const std::size_t copied = c.records > 0 ? 1 + c.listed.size() : 0;
    EXPECT_LE(input.bytes_read, copied * kRecordSize + c.extra);
  }
  FakeInput every(numbered_records(4));
  EXPECT_EQ(list_all(every, 1).numbers, (std::vector<double>{1, 2, 3, 4}));
}

TEST(ListedRecords, InterruptionsAndShortTransfersAreContinued) {
  const std::vector<std::vector<std::size_t>> patterns = {
      {1}, {7}, {135, 137}, {136}, {1, 271, 136, 3}, {100000}};
  for (const auto& chunks : patterns) {
    for (int interrupt : {0, 2, 3}) {
      FakeInput input(numbered_records(50, 17));
      input.chunks = chunks;
      input.interrupt_every = interrupt;
      const Listed listed = list_all(input, 7);
      EXPECT_EQ(listed.numbers, (std::vector<double>{7, 14, 21, 28, 35, 42, 49}))
          << chunks[0] << " " << interrupt;
      EXPECT_TRUE(listed.whole);
      EXPECT_EQ(listed.count, 50);
      EXPECT_EQ(listed.error, 0);
    }
  }
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
      EXPECT_TRUE(listed.read_path);
      EXPECT_EQ(input.skips, refuse_after) << "no skip is tried once refused";
      EXPECT_EQ(input.offset, input.bytes.size());
    }
  }
}

TEST(ListedRecords, ReadErrorCountsTheWholeRecordsBeforeIt) {
  struct Case {
    const char* where;
    std::size_t fail_at;
    int refuse_after;
    std::vector<double> listed;
    std::int64_t count;
  };
  const Case cases[] = {
      {"first record", 50, -1, {}, 0},
      {"skipped span", 22 * kRecordSize + 70, -1, {10, 20}, 22},
      {"listed record", 29 * kRecordSize + 135, -1, {10, 20}, 29},
      {"end of a listed record", 30 * kRecordSize, -1, {10, 20, 30}, 30},
      {"read path", 22 * kRecordSize + 70, 0, {10, 20}, 22},
  };
  for (const Case& c : cases) {
    FakeInput input(numbered_records(45, 3));
    input.chunks = {1000};
    input.fail_at = c.fail_at;
    input.refuse_skips_after = c.refuse_after;
    const Listed listed = list_all(input, 10);
    EXPECT_EQ(listed.numbers, c.listed) << c.where;
    EXPECT_EQ(listed.count, c.count) << c.where;
    EXPECT_EQ(listed.error, EIO) << c.where;
  }
}

// The kernel's own skips: sendfile from a file, splice from a pipe, and
// the read path when no sink is open.
TEST(FileSource, FilesAndPipesListAlike) {
  const std::vector<std::byte> bytes = numbered_records(300, 40);  // fits a pipe
  char path[] = "/tmp/record_reader_test_XXXXXX";
  const int file = ::mkstemp(path);
  ASSERT_GE(file, 0);
  ASSERT_EQ(::write(file, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  const int sink = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  const std::vector<double> want = {100, 200, 300};

  for (int skip_sink : {sink, -1}) {
    ASSERT_EQ(::lseek(file, 0, SEEK_SET), 0);
    FileSource from_file(file, skip_sink);
    const Listed listed = list_all(from_file, 100);
    EXPECT_EQ(listed.numbers, want);
    EXPECT_EQ(listed.count, 300);
    EXPECT_EQ(listed.read_path, skip_sink < 0);

    int pipe_ends[2];
    ASSERT_EQ(::pipe(pipe_ends), 0);
    ASSERT_EQ(::write(pipe_ends[1], bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
    ::close(pipe_ends[1]);
    FileSource from_pipe(pipe_ends[0], skip_sink);
    const Listed piped = list_all(from_pipe, 100);
    EXPECT_EQ(piped.numbers, want);
    EXPECT_EQ(piped.count, 300);
    EXPECT_EQ(piped.read_path, skip_sink < 0);
    ::close(pipe_ends[0]);
  }
  ::close(sink);
  ::close(file);
  std::remove(path);
}

}  // namespace
}  // namespace navdump
