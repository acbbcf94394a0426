// SPDX-License-Identifier: MIT
// End-to-end runs of the built navdump program.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sample_writer.h"
#include "test_process.h"

namespace {

using tools::ProcessResult;
using tools::ProcessRun;
using tools::StdoutMode;

class NavdumpCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir_template[] = "/tmp/navdump_cli_XXXXXX";
    ASSERT_NE(mkdtemp(dir_template), nullptr);
    dir_ = dir_template;
  }
  void TearDown() override {
    for (const auto& path : files_) std::remove(path.c_str());
    ::rmdir(dir_.c_str());
  }

  // A file of count records one second apart, plus extra bytes.
  std::string record_file(const std::string& name, std::int64_t count,
                          std::size_t extra = 0) {
    std::vector<navdump::SampleRecord> records;
    for (std::int64_t i = 0; i < count; ++i) {
      records.push_back(tools::synthetic_record(i, 345600.0, 1.0));
    }
    const std::vector<std::byte> trailing(extra, std::byte{0x7F});
    std::string path = dir_ + "/" + name;
    EXPECT_TRUE(tools::write_record_file(path, records, trailing));
    files_.push_back(path);
    return path;
  }

  static std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  static ProcessResult navdump(std::vector<std::string> args,
                               StdoutMode mode = StdoutMode::kCapture) {
    args.insert(args.begin(), NAVDUMP_PATH);
    return tools::run_process(ProcessRun(args, mode));
  }

  std::string dir_;
  std::vector<std::string> files_;
};

std::size_t blocks_in(const std::string& out) {
  std::size_t n = 0;
  for (std::size_t at = out.find("\n===GPS Time: "); at != std::string::npos;
       at = out.find("\n===GPS Time: ", at + 1)) {
    ++n;
  }
  return n;
}

TEST_F(NavdumpCli, ListsEveryThreeThousandthRecordAndCountsAll) {
  // The first block is record 3000, its elapsed time counted from record 1.
  const std::string first_block =
      "\n===GPS Time:   348599.0000000000000    4, 0:49:59. 0\n"
      "  2999.00000000000000 ";
  struct Case {
    std::int64_t records;
    std::size_t extra;
    std::size_t blocks;
  };
  for (const Case c : {Case{0, 0, 0}, Case{2999, 0, 0}, Case{3000, 0, 1}, Case{6001, 0, 2},
                       Case{3000, 135, 1}, Case{0, 100, 0}}) {
    const std::string path = record_file("r.rec", c.records, c.extra);
    const ProcessResult r = navdump({path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "record # " + std::to_string(c.records) + "\n");
    EXPECT_EQ(blocks_in(r.out), c.blocks) << c.records << "+" << c.extra;
    // Two lines per block, each block opened by an empty line.
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3 * static_cast<long>(c.blocks));
    if (c.blocks > 0) {
      EXPECT_EQ(r.out.substr(0, first_block.size()), first_block);
    }
  }
}

TEST_F(NavdumpCli, PipeInputListsAsTheFileDoes) {
  const std::string path = record_file("r.rec", 3001, 77);
  const ProcessResult from_file = navdump({path});
  for (std::size_t chunk : {1U, 4099U, 136U * 3000U + 1U}) {
    ProcessRun run({NAVDUMP_PATH, "/dev/stdin"});
    run.stdin_bytes = contents(path);
    run.stdin_chunk = chunk;
    const ProcessResult piped = tools::run_process(run);
    EXPECT_EQ(piped.status, 0) << chunk;
    EXPECT_EQ(piped.out, from_file.out) << chunk;
    EXPECT_EQ(piped.err, "record # 3001\n") << chunk;
  }
}

TEST_F(NavdumpCli, UsageErrors) {
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"a", "b"}}) {
    const ProcessResult r = navdump(args);
    EXPECT_EQ(r.status, 247);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, std::string("usage: ") + NAVDUMP_PATH + " {input file}\n");
  }
  // Started with no argument vector at all, Linux hands the program an
  // empty argv[0]; the usage line still names it.
  ProcessRun bare({NAVDUMP_PATH});
  bare.empty_argv = true;
  const ProcessResult r = tools::run_process(bare);
  EXPECT_EQ(r.status, 247);
  EXPECT_EQ(r.err, "usage: navdump {input file}\n");
}

TEST_F(NavdumpCli, OpenErrorsNameThePathAsGiven) {
  for (const std::string& path : {dir_ + "/missing.rec", dir_, std::string("")}) {
    const ProcessResult r = navdump({path});
    EXPECT_EQ(r.status, 247);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "ERROR: cannot open the input file: " + path + "\n");
  }
}

TEST_F(NavdumpCli, SharedOutputHoldsListingThenCountThenError) {
  // As with `navdump FILE >log 2>&1`: the count line must not land inside
  // or before the listing. The first read of /proc/self/mem fails.
  const std::string path = record_file("r.rec", 9001);
  const std::string listing = navdump({path}).out;
  ASSERT_EQ(blocks_in(listing), 3U);
  struct Case {
    std::string path;
    std::string shared;
  };
  for (const Case& c :
       {Case{path, listing + "record # 9001\n"},
        Case{"/proc/self/mem",
             "record # 0\nERROR: cannot read the input file: /proc/self/mem\n"}}) {
    const ProcessResult r =
        tools::run_process(ProcessRun({NAVDUMP_PATH, c.path}, StdoutMode::kToStderr));
    EXPECT_EQ(r.status, c.path == path ? 0 : 247);
    EXPECT_EQ(r.err, c.shared);
  }
}

TEST_F(NavdumpCli, UnwritableOutputIsAFailure) {
  const std::string path = record_file("r.rec", 9000);
  for (StdoutMode mode : {StdoutMode::kDevFull, StdoutMode::kClosed}) {
    const ProcessResult r = navdump({path}, mode);
    EXPECT_EQ(r.status, 247);
    EXPECT_EQ(r.err, "record # 9000\nERROR: cannot write to standard output\n");
  }
  // An empty listing has nothing to lose.
  const ProcessResult empty = navdump({record_file("e.rec", 10)}, StdoutMode::kDevFull);
  EXPECT_EQ(empty.status, 0);
}

TEST_F(NavdumpCli, FileBeyondFourGibibytesIsListedAndCounted) {
  // Record 31581000 = 3000 * 10527 starts 48568 bytes past 4 GiB; the
  // records between are a hole of zeros, which costs no disk.
  constexpr std::int64_t kListed = std::int64_t{3000} * 10527;
  constexpr std::int64_t kCount = kListed + 1;
  static_assert((kListed - 1) * 136 > (std::int64_t{1} << 32));
  const std::string path = dir_ + "/big.rec";
  files_.push_back(path);
  navdump::SampleRecord first;
  first.field[0] = 345600.0;
  navdump::SampleRecord listed;
  listed.field[0] = 361415.25;
  listed.field[16] = 42.5;
  const auto first_bytes = navdump::encode_record(first);
  const auto listed_bytes = navdump::encode_record(listed);
  const off_t size = kCount * 136 + 50;
  struct stat info {};
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const bool written =
      fd >= 0 && ::pwrite(fd, first_bytes.data(), 136, 0) == 136 &&
      ::pwrite(fd, listed_bytes.data(), 136, (kListed - 1) * 136) == 136 &&
      ::ftruncate(fd, size) == 0 && ::fstat(fd, &info) == 0;
  if (fd >= 0) ::close(fd);
  ASSERT_TRUE(written);
  ASSERT_EQ(info.st_size, size);
  if (info.st_blocks > 1024) GTEST_SKIP() << "no sparse files in " << dir_;

  const ProcessResult r = navdump({path});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "record # " + std::to_string(kCount) + "\n");
  EXPECT_EQ(blocks_in(r.out), 10527U);
  const std::string last_block =
      "\n===GPS Time:   361415.2500000000000    4, 4:23:35.25\n"
      " 15815.25000000000000 ";
  const std::size_t at = r.out.rfind("\n===GPS Time: ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(r.out.substr(at, last_block.size()), last_block);
  EXPECT_EQ(r.out.substr(r.out.size() - 22), "   42.500000000000000\n");
}

}  // namespace
