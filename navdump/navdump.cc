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
  navdump::FileSource source(fd, navdump::open_skip_sink("/dev/null"));

  // Only inputs that cannot be skipped need the read buffer; without one the
  // reader makes do with its record buffer. malloc, not new: even
  // new(std::nothrow) aborts when memory is short.
  const std::unique_ptr<std::byte, FreeBytes> buffer(
      static_cast<std::byte*>(std::malloc(navdump::kReadPathBufferSize)));
  navdump::ListedRecords records(
      source, navdump::kListingInterval,
      {buffer.get(), buffer ? navdump::kReadPathBufferSize : 0U});
  const navdump::ListingOutcome outcome = navdump::list_records(records, stdout);

  return navdump::report(outcome, *path, stdout, stderr);
}
