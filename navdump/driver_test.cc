#include "driver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fake_input.h"
#include "sample_writer.h"

namespace navdump {
namespace {

// Text written to a stream, captured through a memory stream.
class Capture {
 public:
  Capture() : stream_(open_memstream(&data_, &size_)) {}
  ~Capture() {
    if (stream_ != nullptr) std::fclose(stream_);
    std::free(data_);
  }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;
  std::FILE* stream() const { return stream_; }
  std::string text() {
    std::fflush(stream_);
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* stream_;
};

std::vector<std::byte> synthetic_bytes(std::int64_t count) {
  std::vector<std::byte> bytes;
  for (std::int64_t i = 0; i < count; ++i) {
    const auto one = encode_record(tools::synthetic_record(i, 1000.0, 1.0));
    bytes.insert(bytes.end(), one.begin(), one.end());
  }
  return bytes;
}

struct Listed {
  ListingOutcome outcome;
  std::string out;
};

Listed list(FakeInput& input) {
  std::vector<std::byte> buffer(4096);
  ListedRecords records(input, kListingInterval, buffer);
  Capture out;
  Listed listed;
  listed.outcome = list_records(records, out.stream());
  listed.out = out.text();
  return listed;
}

std::vector<std::string> headers(const std::string& listing) {
  std::vector<std::string> found;
  for (std::size_t at = listing.find("===GPS"); at != std::string::npos;
       at = listing.find("===GPS", at + 1)) {
    found.push_back(listing.substr(at, listing.find('\n', at) - at));
  }
  return found;
}

TEST(Arguments, ExactlyOnePathIsAccepted) {
  const char* one[] = {"navdump", "flight.rec", nullptr};
  Capture err;
  EXPECT_EQ(input_path(2, one, err.stream()).value_or(""), std::string("flight.rec"));
  EXPECT_EQ(err.text(), "");

  const char* none[] = {"./bin/navdump", nullptr};
  Capture usage;
  EXPECT_FALSE(input_path(1, none, usage.stream()));
  EXPECT_EQ(usage.text(), "usage: ./bin/navdump {input file}\n");

  const char* two[] = {"nd", "a", "b", nullptr};
  Capture usage2;
  EXPECT_FALSE(input_path(3, two, usage2.stream()));
  EXPECT_EQ(usage2.text(), "usage: nd {input file}\n");

  // Kernels before Linux 5.18 start a program with no argument vector as
  // argc 0; the end-to-end test sees what newer ones hand over instead.
  const char* empty[] = {nullptr};
  Capture usage0;
  EXPECT_FALSE(input_path(0, empty, usage0.stream()));
  EXPECT_EQ(usage0.text(), "usage: navdump {input file}\n");
}

TEST(OpenInput, MissingFilesAndDirectoriesCannotBeOpened) {
  for (const char* path : {"/nonexistent/flight rec", "/tmp", "."}) {
    Capture err;
    EXPECT_EQ(open_input(path, err.stream()), -1);
    EXPECT_EQ(err.text(), std::string("ERROR: cannot open the input file: ") + path + "\n");
  }
}

TEST(Thinning, EveryThreeThousandthRecordIsListed) {
  struct Case {
    std::int64_t records;
    std::vector<std::string> times;
  };
  // Records one second apart from t = 1000 s.
  const Case cases[] = {
      {0, {}},
      {2999, {}},
      {3000, {"===GPS Time:     3999.0000000000000    0, 1: 6:39. 0"}},
      {6001,
       {"===GPS Time:     3999.0000000000000    0, 1: 6:39. 0",
        "===GPS Time:     6999.0000000000000    0, 1:56:39. 0"}},
  };
  for (const Case& c : cases) {
    FakeInput input(synthetic_bytes(c.records));
    input.chunks = {1000};
    const Listed listed = list(input);
    EXPECT_EQ(listed.outcome.record_count, c.records);
    EXPECT_EQ(headers(listed.out), c.times) << c.records << " records";
  }
}

TEST(Thinning, ElapsedTimeCountsFromTheFirstRecord) {
  FakeInput input(synthetic_bytes(3000));
  const Listed listed = list(input);
  const std::size_t data = listed.out.find('\n', 1) + 1;
  EXPECT_EQ(listed.out.substr(data, 22), "  2999.00000000000000 ");
}

TEST(Thinning, ListingDoesNotDependOnHowTheInputArrives) {
  const std::vector<std::byte> bytes = synthetic_bytes(9001);
  FakeInput reference_input(bytes);
  const std::string reference = list(reference_input).out;
  for (std::size_t chunk : {std::size_t{1}, std::size_t{4099}, 2999 * kRecordSize + 5}) {
    for (int refuse_after : {-1, 1}) {
      FakeInput input(bytes);
      input.chunks = {chunk};
      input.refuse_skips_after = refuse_after;
      EXPECT_EQ(list(input).out, reference) << chunk << " " << refuse_after;
    }
  }
}

TEST(Thinning, CountGoesPastThirtyTwoBits) {
  // A source of zeroed records that skips without touching memory.
  constexpr std::int64_t kRecords = 2147483647LL + 6;
  struct Endless final : ByteSource {
    std::int64_t left = kRecords * static_cast<std::int64_t>(kRecordSize);
    ssize_t take(std::size_t size) {
      const auto n = static_cast<ssize_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(size)));
      left -= n;
      return n;
    }
    ssize_t read(void* buffer, std::size_t size) override {
      const ssize_t n = take(size);
      std::memset(buffer, 0, static_cast<std::size_t>(n));
      return n;
    }
    ssize_t skip(std::size_t size) override { return take(size); }
  } endless;
  ListedRecords records(endless, kListingInterval, {});
  std::FILE* sink = std::fopen("/dev/null", "w");
  const ListingOutcome outcome = list_records(records, sink);
  std::fclose(sink);
  EXPECT_EQ(outcome.record_count, kRecords);

  Capture out;
  Capture err;
  EXPECT_EQ(report(outcome, "big.rec", out.stream(), err.stream()), 0);
  EXPECT_EQ(err.text(), "record # 2147483653\n");
}

TEST(Report, FailuresFollowTheCountLine) {
  FakeInput input(synthetic_bytes(7000));
  input.chunks = {65536};
  input.fail_at = 6500 * kRecordSize + 3;
  Listed listed = list(input);
  EXPECT_EQ(headers(listed.out).size(), 2U);
  Capture out;
  Capture err;
  EXPECT_EQ(report(listed.outcome, "in.rec", out.stream(), err.stream()), kFailureStatus);
  EXPECT_EQ(err.text(), "record # 6500\nERROR: cannot read the input file: in.rec\n");

  std::FILE* full = std::fopen("/dev/full", "w");
  ASSERT_NE(full, nullptr);
  Capture err2;
  ListingOutcome whole;
  whole.record_count = 3000;
  std::fputs("a block", full);
  EXPECT_EQ(report(whole, "in.rec", full, err2.stream()), kFailureStatus);
  EXPECT_EQ(err2.text(), "record # 3000\nERROR: cannot write to standard output\n");
  std::fclose(full);

  Capture err3;
  Capture fine;
  EXPECT_EQ(report(whole, "in.rec", fine.stream(), err3.stream()), 0);
  EXPECT_EQ(err3.text(), "record # 3000\n");
}

}  // namespace
}  // namespace navdump
