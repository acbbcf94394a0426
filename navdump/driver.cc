// SPDX-License-Identifier: MIT
#include "driver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "angles.h"
#include "listing.h"
#include "program_io.h"

namespace navdump {

std::optional<const char*> input_path(int argc, const char* const* argv,
                                      std::FILE* err) {
  if (argc != 2) {
    std::fprintf(err, "usage: %s {input file}\n", records::invocation_name(argc, argv, "navdump"));
    return std::nullopt;
  }
  return argv[1];
}

int open_skip_sink(const char* path) {
  const int fd = ::open(path, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  struct stat info {};
  if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) &&
      major(info.st_rdev) == 1 && minor(info.st_rdev) == 3) {
    return fd;
  }
  if (fd >= 0) ::close(fd);
  return -1;
}

ListingOutcome list_records(ListedRecords& listed, std::FILE* out) {
  while (const auto bytes = listed.next()) {
    records::SampleRecord record = records::decode_record(*bytes);
    convert_angles(record);
    print_block(out, record, listed.first_time_bits());
  }
  return {listed.record_count(), listed.read_error()};
}

int report(const ListingOutcome& outcome, const char* path, OpenStreams open,
           std::FILE* out, std::FILE* err) {
  const bool write_failed = !records::close_stream(out, open.out);
  std::fprintf(err, "record # %lld\n", static_cast<long long>(outcome.record_count));
  if (outcome.read_error != 0) {
    std::fprintf(err, "ERROR: cannot read the input file: %s\n", path);
  }
  if (write_failed) std::fprintf(err, "ERROR: cannot write to standard output\n");
  const bool count_lost = !records::close_stream(err, open.err);
  return (outcome.read_error != 0 || write_failed || count_lost) ? records::kFailureStatus : 0;
}

}  // namespace navdump
