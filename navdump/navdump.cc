// SPDX-License-Identifier: MIT
// navdump: lists every 3000th record of a sample record file.
#include <unistd.h>

#include <array>
#include <cstdio>

#include "driver.h"
#include "program_io.h"

int main(int argc, char* argv[]) {
  const auto path = navdump::input_path(argc, argv, stderr);
  if (!path) return records::kFailureStatus;

  const navdump::OpenStreams open{records::is_open(stdout), records::is_open(stderr)};
  const int fd = records::open_input(*path, open.out ? STDOUT_FILENO : -1, stderr);
  if (fd < 0) return records::kFailureStatus;

  // Static, so that the reader's buffer is reserved when the program is
  // loaded, not on a stack that a limit may hold below it.
  static std::array<std::byte, records::RecordReader::kMinBufferSize> buffer;
  static navdump::ListedRecords listed(fd, navdump::open_skip_sink("/dev/null"), buffer);
  const navdump::ListingOutcome outcome = navdump::list_records(listed, stdout);
  return navdump::report(outcome, *path, open, stdout, stderr);
}
