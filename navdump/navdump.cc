// SPDX-License-Identifier: MIT
// navdump: lists every 3000th record of a sample record file.
#include <unistd.h>

#include <cstdio>

#include "driver.h"
#include "record_reader.h"

int main(int argc, char* argv[]) {
  const auto path = navdump::input_path(argc, argv, stderr);
  if (!path) return navdump::kFailureStatus;

  const navdump::OpenStreams open{navdump::is_open(stdout), navdump::is_open(stderr)};
  const int fd = navdump::open_input(*path, open.out ? STDOUT_FILENO : -1, stderr);
  if (fd < 0) return navdump::kFailureStatus;

  // Static, so that the reader's 64 KiB buffer is reserved when the program
  // is loaded, not on a stack that a limit may hold below it.
  static navdump::ListedRecords records(fd, navdump::open_skip_sink("/dev/null"));
  const navdump::ListingOutcome outcome = navdump::list_records(records, stdout);
  return navdump::report(outcome, *path, open, stdout, stderr);
}
