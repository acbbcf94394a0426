// SPDX-License-Identifier: MIT
// The bytes of a record file as it was written, whether the file holds them
// as they are (raw) or compressed by gzip, xz, zstd or bzip2: a compressed
// file is decompressed as it is read, with the format's own library.
//
// The format is told by the file's first bytes:
//   gzip   1f 8b 08
//   xz     fd 37 7a 58 5a 00
//   zstd   28 b5 2f fd, or a skippable frame: 50..5f 2a 4d 18
//   bzip2  "BZh" and a digit 1 to 9
// and anything else, a file shorter than its signature included, is raw.
// A raw file may begin with a signature by chance: when the header behind
// the signature is one the format's decoder rejects, the file is raw after
// all, and the bytes taken so far are handed out before the rest.
//
// A compressed file holds members (gzip), streams (xz, bzip2) or frames
// (zstd, skippable ones included), decoded one after the other as the
// formats' own programs do. Zero bytes after the last one are padding. The
// file is corrupt when other bytes follow, when it ends inside a member, or
// when the decoder finds bad data or a failed check (CRC, length, checksum);
// every byte the decoder gave before is still handed out.
//
// A member whose decoder would need more than kDecoderMemoryLimit, or cannot
// allocate, makes the file unreadable, as a failed read does.
//
// Raw bytes after the first read go straight from the descriptor into the
// caller's buffer; compressed ones are read into the input buffer, at least
// a page at a time (a pipe in packet mode drops what a read does not take),
// and decoded straight into the caller's buffer.
#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "record_reader.h"

namespace records {

class StreamDecoder;

enum class Format { raw, gzip, xz, zstd, bzip2 };

// "raw", "gzip", "xz", "zstd" or "bzip2".
const char* format_name(Format format);

inline constexpr std::size_t kDecoderMemoryLimit = std::size_t{128} << 20;

class DecodedInput final : public ByteSource {
 public:
  // The smallest input buffer: a zstd block (128 KiB) and the largest page.
  static constexpr std::size_t kMinInputSize = std::size_t{256} * 1024;

  // Reads fd, compressed bytes through input, of at least kMinInputSize.
  DecodedInput(int fd, std::span<std::byte> input);
  ~DecodedInput();
  DecodedInput(const DecodedInput&) = delete;
  DecodedInput& operator=(const DecodedInput&) = delete;

  // Up to into.size() bytes of the file's content, as many as there are;
  // 0 at the end, once the file turned out corrupt, or after a failure.
  std::size_t read(std::span<std::byte> into) override;

  // Known after the first read.
  Format format() const { return format_; }
  bool corrupt() const { return corrupt_; }
  // Why the file could not be read to its end: the errno of the read that
  // failed, or ENOMEM when a decoder needs more memory than the limit or
  // cannot allocate; 0 otherwise.
  int read_error() const { return read_error_; }

 private:
  enum class Stage { sniffing, raw, member, after_member, padding, done };

  void sniff();
  std::size_t read_raw(std::span<std::byte> into);
  std::size_t decode(std::span<std::byte> into);
  void start_member();
  void check_padding();
  void take_input();
  void fail(int error);
  std::span<const std::byte> pending() const { return input_.subspan(begin_, end_ - begin_); }

  int fd_;
  std::span<std::byte> input_;
  std::size_t page_size_;
  std::size_t begin_ = 0;  // bytes read and not yet decoded are [begin_, end_)
  std::size_t end_ = 0;
  // Every byte read stays in the input buffer while the first member lasts,
  // to be handed out as raw if its header is rejected, and while a page fits
  // behind it: a gzip header longer than that is taken as good.
  bool keeping_ = true;
  bool input_ended_ = false;
  Stage stage_ = Stage::sniffing;
  Format format_ = Format::raw;
  bool corrupt_ = false;
  int read_error_ = 0;
  std::unique_ptr<StreamDecoder> decoder_;
};

}  // namespace records
