#include "record_reader.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace navdump {

RecordReader::RecordReader(int fd, std::span<std::byte> buffer,
                           ReadCall read_call)
    : fd_(fd),
      buffer_(buffer.first(buffer.size() / kRecordSize * kRecordSize)),
      read_call_(std::move(read_call)) {}

RecordBlock RecordReader::next_block() {
  // Move the tail of a record split across reads to the front.
  const std::size_t carried = filled_ - consumed_;
  if (carried > 0 && consumed_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + consumed_, carried);
  }
  filled_ = carried;
  consumed_ = 0;

  while (!ended_ && filled_ < kRecordSize) {
    const ssize_t got = read_call_(fd_, buffer_.data() + filled_,
                                   buffer_.size() - filled_);
    if (got > 0) {
      filled_ += static_cast<std::size_t>(got);
      // A short read from a pipe is common; hand out what is whole now
      // rather than wait to fill the buffer.
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    ended_ = true;
    if (got < 0) read_error_ = errno;
  }
  consumed_ = filled_ / kRecordSize * kRecordSize;
  return RecordBlock(std::span<const std::byte>(buffer_.data(), consumed_));
}

}  // namespace navdump
