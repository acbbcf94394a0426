// SPDX-License-Identifier: MIT
// Sequential reading of the listed records of a record file.
//
// Every byte of the input is pulled through, so the whole-record count is
// exact and a read error anywhere surfaces; but only the first record (for
// its time) and the listed ones are copied into memory. The bytes between
// them are consumed in the kernel: sendfile(2) from files and block devices,
// splice(2) from pipes and FIFOs, to the null device. Once a skip fails for
// any reason (files in /proc, terminals, sockets, a sandbox that forbids the
// call, no null device), the rest of the input is read from the same offset
// into a caller-owned buffer and dropped, so a real I/O error is met by
// read(2). The input ends at end of file (a trailing partial record is
// ignored) or at a read error, which is remembered.
#pragma once

#include <sys/types.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sample_record.h"

namespace navdump {

// Where the bytes come from; replaceable so that tests can script faults.
// Both calls behave like read(2): bytes moved, 0 at end of input, or -1 with
// errno set. A skip that fails moves nothing.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual ssize_t read(void* buffer, std::size_t size) = 0;
  virtual ssize_t skip(std::size_t size) = 0;
};

// A file descriptor, skipped into a sink on the null device; a sink of -1
// refuses every skip.
class FileSource final : public ByteSource {
 public:
  FileSource(int fd, int sink);
  ssize_t read(void* buffer, std::size_t size) override;
  ssize_t skip(std::size_t size) override;

 private:
  int fd_;
  int sink_;
  bool from_pipe_;
};

// A read buffer of this size keeps the read path near the speed of the
// kernel's copy; any smaller size down to none works, only more slowly.
inline constexpr std::size_t kReadPathBufferSize = std::size_t{256} * 1024;

class ListedRecords {
 public:
  // Lists the interval-th, 2·interval-th, ... record (counting from 1);
  // interval must be 1 or more, and the records between two listed ones
  // must fit one size_t transfer. read_buffer serves the read path and may
  // be empty.
  ListedRecords(ByteSource& source, std::uint32_t interval,
                std::span<std::byte> read_buffer);

  // The bytes of the next listed record, valid until the next call, or
  // nothing once the input has ended.
  std::optional<std::span<const std::byte, kRecordSize>> next();

  // Field 0 of the first record; 0 while no record has been read.
  double first_time() const { return first_time_; }
  // Whole records consumed so far; all of them once next() gave nothing.
  std::int64_t record_count() const {
    return static_cast<std::int64_t>(consumed_ / kRecordSize);
  }
  // The errno of the read that failed, or 0.
  int read_error() const { return read_error_; }

 private:
  bool transfer(std::byte* into, std::size_t size);

  ByteSource& source_;
  std::uint64_t interval_;
  std::span<std::byte> read_buffer_;
  std::array<std::byte, kRecordSize> record_{};
  std::uint64_t consumed_ = 0;  // bytes read or skipped
  double first_time_ = 0.0;
  bool ended_ = false;
  bool read_path_ = false;
  int read_error_ = 0;
};

}  // namespace navdump
