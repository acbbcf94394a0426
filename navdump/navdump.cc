// SPDX-License-Identifier: MIT
// navdump: lists every 3000th record of a sample record file.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "driver.h"
#include "record_reader.h"

namespace {

struct FreeBytes {
  void operator()(std::byte* bytes) const { std::free(bytes); }
};

}  // namespace

int main(int argc, char* argv[]) {
  const auto path = navdump::input_path(argc, argv, stderr);
  if (!path) return navdump::kFailureStatus;

  const int fd = navdump::open_input(*path, stderr);
  if (fd < 0) return navdump::kFailureStatus;

#ifdef NAVDUMP_READ_PATH_ONLY
  // A build for tests: every skip is refused, so the whole input is read.
  const int sink = -1;
#else
  const int sink = navdump::open_skip_sink();
#endif
  navdump::FileSource source(fd, sink);

  // Only inputs the kernel will not skip need the read buffer, so under a
  // tight memory limit a smaller one, or none, will do. malloc, not new:
  // even new(std::nothrow) aborts when the memory to throw from is lacking.
  std::size_t size = navdump::kReadPathBufferSize;
  std::unique_ptr<std::byte, FreeBytes> buffer;
  for (; size >= navdump::kRecordSize; size /= 8) {
    buffer.reset(static_cast<std::byte*>(std::malloc(size)));
    if (buffer) break;
  }
  navdump::ListedRecords records(source, navdump::kListingInterval,
                                 {buffer.get(), buffer ? size : 0U});
  const navdump::ListingOutcome outcome = navdump::list_records(records, stdout);

  return navdump::report(outcome, *path, stdout, stderr);
}
