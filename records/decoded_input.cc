// SPDX-License-Identifier: MIT
#include "decoded_input.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "program_io.h"
#include "stream_decoders.h"

namespace records {
namespace {

// xz's, the longest signature.
constexpr std::size_t kSignatureSize = 6;

Format format_of(std::span<const std::byte> head) {
  const std::string_view text(reinterpret_cast<const char*>(head.data()), head.size());
  if (text.starts_with("\x1f\x8b\x08")) return Format::gzip;
  if (text.starts_with(std::string_view("\xfd" "7zXZ\0", kSignatureSize))) return Format::xz;
  if (text.starts_with("\x28\xb5\x2f\xfd")) return Format::zstd;
  // A skippable frame's magic number, 0x184d2a50 to 0x184d2a5f little-endian.
  if (text.size() >= 4 && (text[0] & 0xf0) == 0x50 && text.substr(1, 3) == "\x2a\x4d\x18") return Format::zstd;
  // bzip2's signature ends in the block size, a digit 1 to 9.
  if (text.size() >= 4 && text.starts_with("BZh") && text[3] >= '1' && text[3] <= '9') return Format::bzip2;
  return Format::raw;
}

}  // namespace

const char* format_name(Format format) {
  static constexpr const char* kNames[] = {"raw", "gzip", "xz", "zstd", "bzip2"};
  return kNames[static_cast<std::size_t>(format)];
}

DecodedInput::DecodedInput(int fd, std::span<std::byte> input)
    : fd_(fd), input_(input), page_size_(static_cast<std::size_t>(::sysconf(_SC_PAGESIZE))) {}

DecodedInput::~DecodedInput() = default;

std::size_t DecodedInput::read(std::span<std::byte> into) {
  if (stage_ == Stage::sniffing) sniff();
  std::size_t made = 0;
  while (made < into.size() && stage_ != Stage::raw && stage_ != Stage::done) {
    made += decode(into.subspan(made));
  }
  // Nothing was decoded when the first header turned the input raw.
  return stage_ == Stage::raw ? read_raw(into) : made;
}

// Reads of a page each until the longest signature is in or the input ends;
// then the format and, for a compressed one, its decoder.
void DecodedInput::sniff() {
  while (end_ < kSignatureSize && !input_ended_) {
    const ssize_t got = read_some(fd_, input_.subspan(end_, page_size_));
    if (got < 0) return fail(errno);
    input_ended_ = got == 0;
    end_ += static_cast<std::size_t>(got);
  }
  format_ = format_of(pending());
  if (format_ == Format::raw) {
    stage_ = Stage::raw;
    return;
  }
  decoder_ = start_decoder(format_);
  if (decoder_ == nullptr) return fail(ENOMEM);
  stage_ = Stage::member;
}

// The bytes taken before the input turned out raw, then straight reads.
std::size_t DecodedInput::read_raw(std::span<std::byte> into) {
  if (begin_ < end_) {
    const std::size_t size = std::min(into.size(), end_ - begin_);
    std::memcpy(into.data(), input_.data() + begin_, size);
    begin_ += size;
    return size;
  }
  if (input_ended_) return 0;
  const ssize_t got = read_some(fd_, into);
  if (got < 0) fail(errno);
  input_ended_ = got <= 0;
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// One step of the member loop: decoded bytes in into, how many.
std::size_t DecodedInput::decode(std::span<std::byte> into) {
  if (stage_ == Stage::after_member) {
    start_member();
    return 0;
  }
  if (stage_ == Stage::padding) {
    check_padding();
    return 0;
  }
  const Step step = decoder_->step(pending(), into, input_ended_);
  begin_ += step.used;
  switch (step.outcome) {
    case Outcome::more:
      // Nothing taken or given: the member needs more input, or is cut short.
      if (step.used == 0 && step.made == 0) {
        if (input_ended_) {
          corrupt_ = true;
          stage_ = Stage::done;
        } else {
          take_input();
        }
      }
      break;
    case Outcome::member_end:
      keeping_ = false;
      stage_ = Stage::after_member;
      break;
    case Outcome::header_rejected:
      if (keeping_) {
        format_ = Format::raw;
        begin_ = 0;
        stage_ = Stage::raw;
        break;
      }
      [[fallthrough]];
    case Outcome::bad_data:
      corrupt_ = true;
      stage_ = Stage::done;
      break;
    case Outcome::no_memory:
      fail(ENOMEM);
      break;
  }
  return step.made;
}

// After a member: the end, zero bytes of padding, or the next member.
void DecodedInput::start_member() {
  if (begin_ == end_) {
    if (input_ended_) stage_ = Stage::done;
    else take_input();
  } else if (input_[begin_] == std::byte{0}) {
    stage_ = Stage::padding;
  } else {
    stage_ = Stage::member;
    if (decoder_->start() != Outcome::more) fail(ENOMEM);
  }
}

// Zero bytes to the end of the file, or the file is corrupt.
void DecodedInput::check_padding() {
  const std::span<const std::byte> rest = pending();
  if (std::any_of(rest.begin(), rest.end(), [](std::byte b) { return b != std::byte{0}; })) {
    corrupt_ = true;
    stage_ = Stage::done;
    return;
  }
  begin_ = end_;
  if (input_ended_) stage_ = Stage::done;
  else take_input();
}

// Reads more input behind the bytes not yet decoded, which first move to the
// front of the buffer, unless every byte read is being kept.
void DecodedInput::take_input() {
  keeping_ = keeping_ && input_.size() - end_ >= page_size_;
  if (!keeping_) {
    std::memmove(input_.data(), input_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const ssize_t got = read_some(fd_, input_.subspan(end_));
  if (got < 0) return fail(errno);
  input_ended_ = got == 0;
  end_ += static_cast<std::size_t>(got);
}

void DecodedInput::fail(int error) {
  read_error_ = error;
  stage_ = Stage::done;
}

}  // namespace records
