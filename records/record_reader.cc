// SPDX-License-Identifier: MIT
#include "record_reader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "program_io.h"

namespace records {

RecordReader::RecordReader(int fd, std::span<std::byte> buffer)
    : fd_(fd), buffer_(buffer), page_size_(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE))) {}

RecordReader::RecordReader(ByteSource& source, std::span<std::byte> buffer)
    : RecordReader(-1, buffer) {
  source_ = &source;
}

std::span<const std::byte> RecordReader::next(std::uint64_t max_records) {
  while (buffered() < kRecordSize) {
    if (!read_more(max_records * kRecordSize - buffered())) return {};
  }
  const std::size_t size = std::min<std::uint64_t>(buffered() / kRecordSize, max_records) * kRecordSize;
  const std::span<const std::byte> records(buffer_.data() + begin_, size);
  begin_ += size;
  return records;
}

bool RecordReader::pass(std::uint64_t size) {
  for (;;) {
    const std::size_t used = std::min<std::uint64_t>(size, buffered());
    begin_ += used;
    size -= used;
    if (size == 0) return true;
    if (!read_more(size)) return false;
  }
}

// Reads at least a page, and as much of wanted as fits, behind the unused
// bytes, which first move to the front of the buffer.
bool RecordReader::read_more(std::uint64_t wanted) {
  std::memmove(buffer_.data(), buffer_.data() + begin_, buffered());
  end_ -= begin_;
  begin_ = 0;
  const std::size_t size = std::min<std::uint64_t>(buffer_.size() - end_,
                                                   std::max<std::uint64_t>(wanted, page_size_));
  const std::span<std::byte> into(buffer_.data() + end_, size);
  const ssize_t got = source_ != nullptr ? static_cast<ssize_t>(source_->read(into))
                                         : read_some(fd_, into);
  if (got <= 0) {
    if (got < 0) read_error_ = errno;
    return false;
  }
  end_ += static_cast<std::size_t>(got);
  taken_ += static_cast<std::uint64_t>(got);
  return true;
}

}  // namespace records
