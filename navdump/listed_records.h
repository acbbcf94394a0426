// SPDX-License-Identifier: MIT
// The listed records of a record file, read front to back.
//
// Every byte of the input is pulled through, so the whole-record count is
// exact and a read error anywhere surfaces; but only the bytes around the
// first record (for its time) and the listed ones are copied into memory.
// The bytes between them are consumed in the kernel: sendfile(2) from files
// and block devices, splice(2) from pipes and FIFOs, to the null device.
// Once a skip fails for any reason (files in /proc, terminals, a sandbox
// that forbids the call, no null device), the rest of the input is read
// from the same offset instead.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "record_reader.h"

namespace navdump {

// The 3000th, 6000th, ... record (counting from 1) is listed.
inline constexpr std::uint64_t kListingInterval = 3000;

class ListedRecords {
 public:
  // Reads from fd through buffer, skipping into sink, a descriptor on the
  // null device, or reading everything when sink is -1.
  ListedRecords(int fd, int sink, std::span<std::byte> buffer);

  // The bytes of the next listed record, valid until the next call, or
  // nothing once the input has ended or failed.
  std::optional<records::RecordBytes> next();

  // Field 0 of the first record, as bits; 0 while no record has been read.
  std::uint64_t first_time_bits() const { return first_time_bits_; }
  // Whole records pulled from the input; all of them once next() gave
  // nothing.
  std::int64_t record_count() const {
    return static_cast<std::int64_t>(reader_.bytes_taken() / records::kRecordSize);
  }
  // The errno of the read that failed, or 0.
  int read_error() const { return reader_.read_error(); }

 private:
  bool pass(std::uint64_t size);

  int fd_;
  int sink_;
  bool from_pipe_ = false;
  records::RecordReader reader_;
  std::uint64_t records_ = 0;  // records used: passed over or handed out
  std::uint64_t first_time_bits_ = 0;
};

}  // namespace navdump
