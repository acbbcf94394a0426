// SPDX-License-Identifier: MIT
// The driver's parts that end-to-end runs cannot reach: a program started
// with argc 0, a count past 2^31 records, and a false null device.
#include "driver.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

TEST(Arguments, NoArgumentVectorStillNamesTheProgram) {
  // Kernels before Linux 5.18 start a program with no argument vector as
  // argc 0; newer ones hand over argc 1 and an empty argv[0], which the
  // end-to-end test covers.
  const char* empty[] = {nullptr};
  Capture usage;
  EXPECT_FALSE(input_path(0, empty, usage.stream()));
  EXPECT_EQ(usage.text(), "usage: navdump {input file}\n");
}

TEST(Thinning, CountGoesPastThirtyTwoBits) {
  // A source of zeroed records that skips without touching memory. Listing
  // one record in 2^20 keeps the formatting out of the run time.
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
  ListedRecords records(endless, std::uint32_t{1} << 20, {});
  std::FILE* sink = std::fopen("/dev/null", "w");
  ASSERT_NE(sink, nullptr);
  const ListingOutcome outcome = list_records(records, sink);
  std::fclose(sink);
  EXPECT_EQ(outcome.record_count, kRecords);

  Capture out;
  Capture err;
  EXPECT_EQ(report(outcome, "big.rec", out.stream(), err.stream()), 0);
  EXPECT_EQ(err.text(), "record # 2147483653\n");
}

TEST(SkipSink, OnlyTheNullDeviceIsTrusted) {
  const int null_sink = open_skip_sink("/dev/null");
  EXPECT_GT(null_sink, STDERR_FILENO);
  ::close(null_sink);
  // In a broken root, /dev/null may be a file that would fill up, or a FIFO
  // that would stall every skip; with a reader on it, it opens.
  char dir[] = "/tmp/skip_sink_XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string file = std::string(dir) + "/file";
  const std::string fifo = std::string(dir) + "/fifo";
  ASSERT_EQ(::close(::open(file.c_str(), O_WRONLY | O_CREAT, 0600)), 0);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  EXPECT_EQ(open_skip_sink(file.c_str()), -1);
  EXPECT_EQ(open_skip_sink(fifo.c_str()), -1);
  ::close(reader);
  ::alarm(10);  // an open that waits for a reader would never return
  EXPECT_EQ(open_skip_sink(fifo.c_str()), -1) << "without a reader";
  ::alarm(0);
  std::remove(file.c_str());
  std::remove(fifo.c_str());
  ::rmdir(dir);
}

}  // namespace
}  // namespace navdump
