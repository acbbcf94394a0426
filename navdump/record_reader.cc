// SPDX-License-Identifier: MIT
#include "record_reader.h"

#include <sys/sendfile.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace navdump {

ListedRecords::ListedRecords(int fd, int sink)
    : fd_(fd), sink_(sink), page_size_(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE))) {
  struct stat info {};
  from_pipe_ = ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
}

std::optional<std::span<const std::byte, kRecordSize>> ListedRecords::next() {
  if (records_ == 0) {
    if (!fill(kRecordSize)) return std::nullopt;
    first_time_bits_ = time_bits(std::span<const std::byte, kRecordSize>(
        buffer_.data() + begin_, kRecordSize));
  }
  const std::uint64_t listed = (records_ / kListingInterval + 1) * kListingInterval;
  if (!pass((listed - 1 - records_) * kRecordSize) || !fill(kRecordSize)) return std::nullopt;
  const std::span<const std::byte, kRecordSize> record(buffer_.data() + begin_, kRecordSize);
  begin_ += kRecordSize;
  records_ = listed;
  return record;
}

// Moves past size bytes: those in the buffer first, then in the kernel, or
// by reading them when it refuses. False once the input has ended or failed.
bool ListedRecords::pass(std::uint64_t size) {
  const std::size_t buffered = std::min<std::uint64_t>(size, end_ - begin_);
  begin_ += buffered;
  size -= buffered;
  while (size > 0) {
    if (sink_ < 0) {
      if (!read_more(size)) return false;
      const std::size_t used = std::min<std::uint64_t>(size, end_ - begin_);
      begin_ += used;
      size -= used;
      continue;
    }
    // splice needs a pipe at one end; sendfile takes files and block devices.
    const ssize_t got = from_pipe_ ? ::splice(fd_, nullptr, sink_, nullptr, size, 0)
                                   : ::sendfile(sink_, fd_, nullptr, size);
    if (got > 0) {
      pulled_ += static_cast<std::uint64_t>(got);
      size -= static_cast<std::uint64_t>(got);
    } else if (got == 0) {
      return false;
    } else if (errno != EINTR) {
      // A skip that fails, whatever the reason, moved nothing: reading goes
      // on from the same offset, and a real fault is met again by read(2).
      sink_ = -1;
    }
  }
  return true;
}

// Makes at least size bytes available at begin_. False once the input has
// ended or failed first.
bool ListedRecords::fill(std::size_t size) {
  while (end_ - begin_ < size) {
    if (!read_more(size - (end_ - begin_))) return false;
  }
  return true;
}

// Reads at least a page, and as much of wanted as fits, behind the unused
// bytes, which first move to the front of the buffer.
bool ListedRecords::read_more(std::uint64_t wanted) {
  std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  const std::size_t size =
      std::min<std::uint64_t>(kBufferSize - end_, std::max<std::uint64_t>(wanted, page_size_));
  ssize_t got = 0;
  do {
    got = ::read(fd_, buffer_.data() + end_, size);
  } while (got < 0 && errno == EINTR);
  if (got <= 0) {
    if (got < 0) read_error_ = errno;
    return false;
  }
  end_ += static_cast<std::size_t>(got);
  pulled_ += static_cast<std::uint64_t>(got);
  return true;
}

}  // namespace navdump
