#include "record_reader.h"

#include <gtest/gtest.h>

#include <vector>

#include "fake_input.h"

namespace navdump {
namespace {

// Bytes of n records whose field 0 is the record's index, then extra bytes.
std::vector<std::byte> numbered_records(std::size_t n, std::size_t extra = 0) {
  std::vector<std::byte> bytes;
  for (std::size_t i = 0; i < n; ++i) {
    SampleRecord r;
    r.field[0] = static_cast<double>(i);
    r.field[16] = -static_cast<double>(i);
    const auto one = encode_record(r);
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  bytes.resize(bytes.size() + extra, std::byte{0x5A});
  return bytes;
}

struct ReadAll {
  std::vector<std::size_t> block_sizes;
  std::size_t records = 0;
  bool in_order = true;
  int read_error = 0;
};

ReadAll read_all(FakeInput& input, std::size_t buffer_records) {
  std::vector<std::byte> buffer(buffer_records * kRecordSize);
  RecordReader reader(-1, buffer, read_from(input));
  ReadAll result;
  for (RecordBlock block = reader.next_block(); !block.empty(); block = reader.next_block()) {
    result.block_sizes.push_back(block.size());
    for (std::size_t i = 0; i < block.size(); ++i) {
      const SampleRecord r = decode_record(block[i]);
      const auto want = static_cast<double>(result.records);
      result.in_order = result.in_order && r.field[0] == want && r.field[16] == -want;
      ++result.records;
    }
  }
  result.read_error = reader.read_error();
  return result;
}

TEST(RecordReader, EmptyInputYieldsNoRecord) {
  FakeInput input;
  const ReadAll all = read_all(input, 4);
  EXPECT_EQ(all.records, 0U);
  EXPECT_EQ(all.read_error, 0);
}

TEST(RecordReader, TrailingPartialRecordIsDropped) {
  for (std::size_t extra : {1U, 8U, 135U}) {
    FakeInput input(numbered_records(10, extra));
    const ReadAll all = read_all(input, 4);
    EXPECT_EQ(all.records, 10U) << extra;
    EXPECT_TRUE(all.in_order);
    EXPECT_EQ(all.read_error, 0);
    EXPECT_EQ(input.offset, input.bytes.size()) << "every byte is read";
  }
}

TEST(RecordReader, ReadsOfAnySizeReassembleWholeRecords) {
  const std::vector<std::vector<std::size_t>> patterns = {
      {1}, {7}, {135}, {136}, {137}, {4099}, {1, 271, 136, 3}, {100000}};
  for (const auto& chunks : patterns) {
    FakeInput input(numbered_records(50, 17));
  input.chunks = chunks;
    const ReadAll all = read_all(input, 8);
    EXPECT_EQ(all.records, 50U) << "first chunk " << chunks[0];
    EXPECT_TRUE(all.in_order) << "first chunk " << chunks[0];
  }
}

TEST(RecordReader, BlockBoundaries) {
  // A buffer of 3 records; reads of 2.5 records split every other record
  // across blocks.
  FakeInput split(numbered_records(12));
  split.chunks = {kRecordSize * 5 / 2};
  const ReadAll halves = read_all(split, 3);
  EXPECT_EQ(halves.records, 12U);
  EXPECT_TRUE(halves.in_order);
  for (std::size_t size : halves.block_sizes) EXPECT_LE(size, 3U);

  // Blocks ending exactly on a record leave nothing to carry.
  FakeInput exact(numbered_records(9));
  const ReadAll whole = read_all(exact, 3);
  EXPECT_EQ(whole.block_sizes, (std::vector<std::size_t>{3, 3, 3}));
  EXPECT_TRUE(whole.in_order);
}

TEST(RecordReader, InterruptedReadsAreRetried) {
  FakeInput input(numbered_records(20, 3));
  input.chunks = {300};
  input.interrupt_every = 2;
  const ReadAll all = read_all(input, 4);
  EXPECT_EQ(all.records, 20U);
  EXPECT_TRUE(all.in_order);
  EXPECT_EQ(all.read_error, 0);
}

TEST(RecordReader, ReadErrorEndsInputAfterTheWholeRecordsBeforeIt) {
  // Fails 50 bytes into record 7: records 0 to 6 are whole.
  FakeInput input(numbered_records(20));
  input.chunks = {1000};
  input.fail_at = 7 * kRecordSize + 50;
  const ReadAll all = read_all(input, 4);
  EXPECT_EQ(all.records, 7U);
  EXPECT_TRUE(all.in_order);
  EXPECT_EQ(all.read_error, EIO);

  FakeInput first(numbered_records(2));
  first.fail_at = 0;
  EXPECT_EQ(read_all(first, 4).records, 0U);
}

}  // namespace
}  // namespace navdump
