// navdump: lists every 3000th record of a sample record file.
#include <cstdio>
#include <vector>

#include <unistd.h>

#include "driver.h"
#include "record_reader.h"

int main(int argc, char* argv[]) {
  const auto path = navdump::input_path(argc, argv, stderr);
  if (!path) return navdump::kFailureStatus;

  const int fd = navdump::open_input(*path, stderr);
  if (fd < 0) return navdump::kFailureStatus;

  std::vector<std::byte> buffer(navdump::kDefaultBufferSize);
  navdump::RecordReader reader(fd, buffer, &::read);
  const navdump::ListingOutcome outcome = navdump::list_records(reader, stdout);

  return navdump::report(outcome, *path, stdout, stderr);
}
