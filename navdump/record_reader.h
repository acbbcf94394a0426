// Sequential reading of whole records from a file descriptor.
//
// The input is taken in large blocks into a buffer the caller owns; each
// block yields the whole records it holds, and a record split across two
// reads is carried over to the next block. Works on regular files, pipes and
// FIFOs alike: it never seeks and reads every byte. The input ends at end of
// file (a trailing partial record is dropped) or at a read error, which is
// remembered so the caller can report it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <span>

#include "sample_record.h"

namespace navdump {

// The read call, replaceable so that callers can feed any byte source.
using ReadCall = std::function<ssize_t(int fd, void* buffer, std::size_t size)>;

// A buffer size that holds a whole number of records, about 256 KiB.
inline constexpr std::size_t kDefaultBufferSize = kRecordSize * 1927;

// Whole records lying back to back in the reader's buffer.
class RecordBlock {
 public:
  RecordBlock() = default;
  explicit RecordBlock(std::span<const std::byte> bytes) : bytes_(bytes) {}
  std::size_t size() const { return bytes_.size() / kRecordSize; }
  bool empty() const { return bytes_.empty(); }
  std::span<const std::byte, kRecordSize> operator[](std::size_t i) const {
    return bytes_.subspan(i * kRecordSize).first<kRecordSize>();
  }

 private:
  std::span<const std::byte> bytes_;
};

class RecordReader {
 public:
  // The buffer must hold at least one record.
  RecordReader(int fd, std::span<std::byte> buffer, ReadCall read_call);

  // The next block of one or more whole records, or an empty block when the
  // input has ended. The block stays valid until the next call.
  RecordBlock next_block();

  // The errno of the read that failed, or 0 when the input reached its end.
  int read_error() const { return read_error_; }

 private:
  int fd_;
  std::span<std::byte> buffer_;
  ReadCall read_call_;
  std::size_t filled_ = 0;    // bytes held in the buffer
  std::size_t consumed_ = 0;  // bytes handed out in the last block
  bool ended_ = false;
  int read_error_ = 0;
};

}  // namespace navdump
