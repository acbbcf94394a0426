// SPDX-License-Identifier: MIT
#include "record_reader.h"

#include <sys/sendfile.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace navdump {

FileSource::FileSource(int fd, int sink) : fd_(fd), sink_(sink) {
  struct stat info {};
  from_pipe_ = ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
}

ssize_t FileSource::read(void* buffer, std::size_t size) {
  return ::read(fd_, buffer, size);
}

ssize_t FileSource::skip(std::size_t size) {
  if (sink_ < 0) {
    errno = EINVAL;
    return -1;
  }
  // splice needs a pipe at one end; sendfile takes files and block devices.
  if (from_pipe_) return ::splice(fd_, nullptr, sink_, nullptr, size, 0);
  return ::sendfile(sink_, fd_, nullptr, size);
}

ListedRecords::ListedRecords(ByteSource& source, std::uint32_t interval,
                             std::span<std::byte> read_buffer)
    : source_(source), interval_(std::max<std::uint32_t>(interval, 1)), read_buffer_(read_buffer) {}

std::optional<std::span<const std::byte, kRecordSize>> ListedRecords::next() {
  if (ended_) return std::nullopt;
  if (consumed_ == 0) {
    if (!transfer(record_.data(), kRecordSize)) return std::nullopt;
    // Copied from the decoded record, never returned as a double: on i386 a
    // double returns through the x87 unit, whose load quietens a signalling
    // NaN, and whether t0 signals decides the elapsed time's NaN.
    first_time_ = decode_record(record_).field[0];
    if (interval_ == 1) return record_;
  }
  // Here consumed_ ends on a record boundary, and the records up to the next
  // listed one but that one are passed over.
  const std::uint64_t last = consumed_ / kRecordSize;
  const std::uint64_t listed = (last / interval_ + 1) * interval_;
  const auto passed = static_cast<std::size_t>((listed - 1 - last) * kRecordSize);
  if (!transfer(nullptr, passed) || !transfer(record_.data(), kRecordSize)) {
    return std::nullopt;
  }
  return record_;
}

// Moves size bytes into memory at `into`, or past them when `into` is null,
// continuing after interruptions and short transfers. False once the input
// has ended or failed.
bool ListedRecords::transfer(std::byte* into, std::size_t size) {
  while (size > 0) {
    ssize_t got = 0;
    if (into != nullptr) {
      got = source_.read(into, size);
    } else if (!read_path_) {
      got = source_.skip(size);
    } else {
      // The record buffer stands in when no read buffer could be had.
      const std::span<std::byte> scratch =
          read_buffer_.empty() ? std::span<std::byte>(record_) : read_buffer_;
      got = source_.read(scratch.data(), std::min(size, scratch.size()));
    }
    if (got > 0) {
      const auto moved = std::min(static_cast<std::size_t>(got), size);
      consumed_ += moved;
      size -= moved;
      if (into != nullptr) into += moved;
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    // A skip that fails, whatever the reason, moved nothing: reading goes on
    // from the same offset, and a real fault is met again by read(2).
    if (got < 0 && into == nullptr && !read_path_) {
      read_path_ = true;
      continue;
    }
    ended_ = true;
    if (got < 0) read_error_ = errno;
    return false;
  }
  return true;
}

}  // namespace navdump
