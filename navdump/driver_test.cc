// SPDX-License-Identifier: MIT
// The skip sink, which end-to-end runs cannot replace: a false null device.
#include "driver.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace navdump {
namespace {

TEST(SkipSink, OnlyTheNullDeviceIsTrusted) {
  const int null_sink = open_skip_sink("/dev/null");
  EXPECT_GE(null_sink, 0);
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
