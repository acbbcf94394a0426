// SPDX-License-Identifier: MIT
// Reading the whole records of a record file front to back: from a
// descriptor (a regular file, a pipe, a FIFO or a device), or from a source
// that hands out the file's bytes, such as records::DecodedInput.
//
// Every read asks for at least a page: from a pipe in packet mode (O_DIRECT)
// a read takes one packet, of up to a page, and drops what it did not take.
// Bytes read but not yet handed out stay in the buffer and move to its front
// before the next read, so a record cut between two reads comes out whole.
// A read interrupted by a signal is made again; any other failure ends the
// input, and its errno is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "sample_record.h"

namespace records {

// Where a reader takes bytes from instead of a descriptor.
class ByteSource {
 public:
  // Up to into.size() bytes into into; 0 once the input has ended or failed.
  virtual std::size_t read(std::span<std::byte> into) = 0;

 protected:
  ~ByteSource() = default;
};

class RecordReader {
 public:
  // The smallest buffer: the largest page (64 KiB) beside a partial record.
  static constexpr std::size_t kMinBufferSize = std::size_t{64} * 1024 + kRecordSize;
  // As many records as the buffer holds.
  static constexpr std::uint64_t kAllBuffered = UINT64_MAX / kRecordSize;

  // Reads fd, or source, into buffer, of at least kMinBufferSize bytes.
  RecordReader(int fd, std::span<std::byte> buffer);
  RecordReader(ByteSource& source, std::span<std::byte> buffer);

  // The next whole records, at least one and at most max_records (1 or
  // more), valid until the next call; empty once the input has ended or
  // failed.
  std::span<const std::byte> next(std::uint64_t max_records = kAllBuffered);

  // Moves past size bytes, those buffered first, then by reading them.
  // False once the input has ended or failed.
  bool pass(std::uint64_t size);

  // Bytes read and not yet handed out or passed: once next() gave nothing,
  // the cut record at the end.
  std::size_t buffered() const { return end_ - begin_; }
  // Counts size bytes the caller moved past in the kernel, with nothing
  // buffered.
  void passed_in_kernel(std::uint64_t size) { taken_ += size; }

  // Bytes taken from the input; all of them once the input has ended.
  std::uint64_t bytes_taken() const { return taken_; }
  // The errno of the read of the descriptor that failed, or 0.
  int read_error() const { return read_error_; }

 private:
  bool read_more(std::uint64_t wanted);

  int fd_;
  ByteSource* source_ = nullptr;  // read instead of fd_
  std::span<std::byte> buffer_;
  std::size_t page_size_;
  std::size_t begin_ = 0;  // unused bytes are [begin_, end_)
  std::size_t end_ = 0;
  std::uint64_t taken_ = 0;
  int read_error_ = 0;
};

}  // namespace records
