// SPDX-License-Identifier: MIT
#include "program_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace records {
namespace {

// Whether the input is what descriptor fd writes to, and would read back
// what the run writes, or wait for it: a regular file, a pipe or FIFO, a
// socket or a terminal. Other devices, such as the null device, are
// readable whatever writes to them.
bool is_own_output(const struct stat& input, int fd) {
  struct stat other {};
  if (fd < 0 || ::fstat(fd, &other) != 0 || other.st_dev != input.st_dev ||
      other.st_ino != input.st_ino) {
    return false;
  }
  return S_ISREG(input.st_mode) || S_ISFIFO(input.st_mode) || S_ISSOCK(input.st_mode) ||
         ::isatty(fd) == 1;
}

}  // namespace

const char* invocation_name(int argc, const char* const* argv, const char* fallback) {
  return (argc > 0 && argv[0] != nullptr && argv[0][0] != '\0') ? argv[0] : fallback;
}

bool is_open(std::FILE* stream) { return ::fcntl(::fileno(stream), F_GETFD) >= 0; }

bool close_stream(std::FILE* stream, bool was_open) {
  const bool written = was_open && std::ferror(stream) == 0;
  return std::fclose(stream) == 0 && written;
}

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
  if (is_own_output(info, output_fd)) {
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

ssize_t read_some(int fd, std::span<std::byte> into) {
  ssize_t got = 0;
  do {
    got = ::read(fd, into.data(), into.size());
  } while (got < 0 && errno == EINTR);
  return got;
}

void print_path(std::FILE* out, const char* path) {
  for (const char* c = path; *c != '\0'; ++c) {
    switch (*c) {
      case '\t': std::fputs("\\t", out); break;
      case '\n': std::fputs("\\n", out); break;
      case '\r': std::fputs("\\r", out); break;
      case '\\': std::fputs("\\\\", out); break;
      default: std::putc(*c, out);
    }
  }
}

}  // namespace records
