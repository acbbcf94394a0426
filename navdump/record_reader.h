// SPDX-License-Identifier: MIT
// Sequential reading of the listed records of a record file.
//
// Every byte of the input is pulled through, so the whole-record count is
// exact and a read error anywhere surfaces; but only the bytes around the
// first record (for its time) and the listed ones are copied into memory.
// The bytes between them are consumed in the kernel: sendfile(2) from files
// and block devices, splice(2) from pipes and FIFOs, to the null device.
// Once a skip fails for any reason (files in /proc, terminals, a sandbox
// that forbids the call, no null device), the rest of the input is read
// from the same offset instead.
//
// Every read asks for at least a page: from a pipe in packet mode (O_DIRECT)
// a read takes one packet, of up to a page, and drops what it did not take.
// Bytes read but not yet used stay in the buffer for the next record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sample_record.h"

namespace navdump {

// The 3000th, 6000th, ... record (counting from 1) is listed.
inline constexpr std::uint64_t kListingInterval = 3000;

class ListedRecords {
 public:
  // Reads from fd, skipping into sink, a descriptor on the null device, or
  // reading everything when sink is -1.
  ListedRecords(int fd, int sink);

  // The bytes of the next listed record, valid until the next call, or
  // nothing once the input has ended or failed.
  std::optional<std::span<const std::byte, kRecordSize>> next();

  // Field 0 of the first record, as bits; 0 while no record has been read.
  std::uint64_t first_time_bits() const { return first_time_bits_; }
  // Whole records pulled from the input; all of them once next() gave
  // nothing.
  std::int64_t record_count() const {
    return static_cast<std::int64_t>(pulled_ / kRecordSize);
  }
  // The errno of the read that failed, or 0.
  int read_error() const { return read_error_; }

 private:
  bool pass(std::uint64_t size);
  bool fill(std::size_t size);
  bool read_more(std::uint64_t wanted);

  // Room for the largest packet (64 KiB pages exist) beside a partial record.
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024 + kRecordSize;

  int fd_;
  int sink_;
  bool from_pipe_ = false;
  std::size_t page_size_;
  std::array<std::byte, kBufferSize> buffer_;
  std::size_t begin_ = 0;  // unused bytes are [begin_, end_)
  std::size_t end_ = 0;
  std::uint64_t pulled_ = 0;    // bytes taken from the input
  std::uint64_t records_ = 0;   // records used: passed over or handed out
  std::uint64_t first_time_bits_ = 0;
  int read_error_ = 0;
};

}  // namespace navdump
