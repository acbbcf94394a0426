// SPDX-License-Identifier: MIT
#include "listed_records.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

namespace navdump {

using records::kRecordSize;
using records::RecordBytes;

ListedRecords::ListedRecords(int fd, int sink, std::span<std::byte> buffer)
    : fd_(fd), sink_(sink), reader_(fd, buffer) {
  struct stat info {};
  from_pipe_ = ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode);
}

std::optional<RecordBytes> ListedRecords::next() {
  if (records_ == 0) {
    const auto first = reader_.next(1);
    if (first.empty()) return std::nullopt;
    first_time_bits_ = records::time_bits(RecordBytes(first.data(), kRecordSize));
    records_ = 1;
  }
  const std::uint64_t listed = (records_ / kListingInterval + 1) * kListingInterval;
  if (!pass((listed - 1 - records_) * kRecordSize)) return std::nullopt;
  const auto record = reader_.next(1);
  if (record.empty()) return std::nullopt;
  records_ = listed;
  return RecordBytes(record.data(), kRecordSize);
}

// Moves past size bytes: those in the buffer first, then in the kernel, or
// by reading them when it refuses or stops early. False once the input has
// ended or failed.
bool ListedRecords::pass(std::uint64_t size) {
  const std::uint64_t buffered = std::min<std::uint64_t>(size, reader_.buffered());
  reader_.pass(buffered);
  size -= buffered;
  while (size > 0 && sink_ >= 0) {
    // splice needs a pipe at one end; sendfile takes files and block devices.
    const ssize_t got = from_pipe_ ? ::splice(fd_, nullptr, sink_, nullptr, size, 0)
                                   : ::sendfile(sink_, fd_, nullptr, size);
    if (got > 0) {
      reader_.passed_in_kernel(static_cast<std::uint64_t>(got));
      size -= static_cast<std::uint64_t>(got);
    } else if (got == 0) {
      // Not yet the end: a file whose size is stale (FUSE with direct_io)
      // gives 0 early. Only a read that returns 0 ends the input.
      break;
    } else if (errno != EINTR) {
      // A skip that fails, whatever the reason, moved nothing: reading goes
      // on from the same offset, and a real fault is met again by read(2).
      sink_ = -1;
    }
  }
  return reader_.pass(size);
}

}  // namespace navdump
