// SPDX-License-Identifier: MIT
#include "driver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "listing.h"

namespace navdump {

std::optional<const char*> input_path(int argc, const char* const* argv,
                                      std::FILE* err) {
  if (argc != 2) {
    // Started with no argument vector, the program has no name of its own:
    // Linux then hands it argc 1 and an empty argv[0] (older kernels argc 0).
    const char* name =
        (argc > 0 && argv[0] != nullptr && argv[0][0] != '\0') ? argv[0] : "navdump";
    std::fprintf(err, "usage: %s {input file}\n", name);
    return std::nullopt;
  }
  return argv[1];
}

bool is_open(std::FILE* stream) { return ::fcntl(::fileno(stream), F_GETFD) >= 0; }

namespace {

bool is_same_regular_file(const struct stat& input, int fd) {
  struct stat other {};
  return fd >= 0 && S_ISREG(input.st_mode) && ::fstat(fd, &other) == 0 &&
         other.st_dev == input.st_dev && other.st_ino == input.st_ino;
}

}  // namespace

int open_input(const char* path, int output_fd, std::FILE* err) {
  int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
    ::close(fd);
    fd = -1;
  }
  if (fd < 0) {
    std::fprintf(err, "ERROR: cannot open the input file: %s\n", path);
    return -1;
  }
  if (is_same_regular_file(info, output_fd)) {
    ::close(fd);
    std::fprintf(err, "ERROR: the input file is also standard output: %s\n", path);
    return -1;
  }
  if (S_ISREG(info.st_mode)) {
    // Only a hint: the file is read once, front to back.
    (void)::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  }
  return fd;
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

ListingOutcome list_records(ListedRecords& records, std::FILE* out) {
  while (const auto bytes = records.next()) {
    SampleRecord record = decode_record(*bytes);
    convert_angles(record);
    print_block(out, record, records.first_time_bits());
  }
  return {records.record_count(), records.read_error()};
}

int report(const ListingOutcome& outcome, const char* path, OpenStreams open,
           std::FILE* out, std::FILE* err) {
  // A stream's error flag holds any write that failed on the way.
  bool write_failed = !open.out || std::ferror(out) != 0;
  if (std::fclose(out) != 0) write_failed = true;
  std::fprintf(err, "record # %lld\n", static_cast<long long>(outcome.record_count));
  if (outcome.read_error != 0) {
    std::fprintf(err, "ERROR: cannot read the input file: %s\n", path);
  }
  if (write_failed) std::fprintf(err, "ERROR: cannot write to standard output\n");
  bool count_lost = !open.err || std::ferror(err) != 0;
  if (std::fclose(err) != 0) count_lost = true;
  return (outcome.read_error != 0 || write_failed || count_lost) ? kFailureStatus : 0;
}

}  // namespace navdump
