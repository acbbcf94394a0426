// SPDX-License-Identifier: MIT
#include "stream_decoders.h"

#include <bzlib.h>
#include <lzma.h>
#define ZLIB_CONST  // next_in points to const
#include <zlib.h>
#define ZSTD_STATIC_LINKING_ONLY  // ZSTD_getFrameHeader, ZSTD_nextInputType
#include <zstd.h>
#include <zstd_errors.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <new>

namespace records {
namespace {

// zlib and libbz2 count in unsigned int.
unsigned int clamped(std::size_t size) { return static_cast<unsigned int>(std::min<std::size_t>(size, UINT_MAX)); }

// The libraries take bytes as unsigned or plain char.
template <typename Char>
Char* as(std::span<std::byte> bytes) {
  return reinterpret_cast<Char*>(bytes.data());
}
template <typename Char>
const Char* as(std::span<const std::byte> bytes) {
  return reinterpret_cast<const Char*>(bytes.data());
}

// gzip, with zlib: a member's header is good once inflate says it is done.
class GzipDecoder final : public StreamDecoder {
 public:
  ~GzipDecoder() override {
    if (started_) inflateEnd(&stream_);
  }
  Outcome start() override {
    // 16 + 15: a gzip member with a window of up to 32 KiB.
    const int status = started_ ? inflateReset(&stream_) : inflateInit2(&stream_, 16 + 15);
    started_ = started_ || status == Z_OK;
    header_ = {};
    return status == Z_OK && inflateGetHeader(&stream_, &header_) == Z_OK ? Outcome::more : Outcome::no_memory;
  }
  Step step(std::span<const std::byte> in, std::span<std::byte> out, bool) override {
    stream_.next_in = as<Bytef>(in);
    stream_.avail_in = clamped(in.size());
    stream_.next_out = as<Bytef>(out);
    stream_.avail_out = clamped(out.size());
    const int status = inflate(&stream_, Z_NO_FLUSH);
    const Step step{in.size() - stream_.avail_in, out.size() - stream_.avail_out, Outcome::more};
    switch (status) {
      case Z_OK:
      case Z_BUF_ERROR: return step;  // Z_BUF_ERROR: no progress, for want of input
      case Z_STREAM_END: return {step.used, step.made, Outcome::member_end};
      case Z_MEM_ERROR: return {step.used, step.made, Outcome::no_memory};  // GCOVR_EXCL_LINE: allocation failed
      default: return {step.used, step.made, header_.done == 1 ? Outcome::bad_data : Outcome::header_rejected};
    }
  }

 private:
  z_stream stream_{};
  gz_header header_{};
  bool started_ = false;
};

// xz, with liblzma: a stream's header is the 12 bytes that
// lzma_stream_header_decode accepts.
class XzDecoder final : public StreamDecoder {
 public:
  ~XzDecoder() override { lzma_end(&stream_); }
  Outcome start() override {
    header_checked_ = false;
    return lzma_stream_decoder(&stream_, kDecoderMemoryLimit, 0) == LZMA_OK ? Outcome::more : Outcome::no_memory;
  }
  Step step(std::span<const std::byte> in, std::span<std::byte> out, bool input_ended) override {
    if (!header_checked_) {
      if (in.size() < LZMA_STREAM_HEADER_SIZE) return {};
      lzma_stream_flags flags{};
      if (lzma_stream_header_decode(&flags, as<std::uint8_t>(in)) != LZMA_OK) return {0, 0, Outcome::header_rejected};
      header_checked_ = true;
    }
    stream_.next_in = as<std::uint8_t>(in);
    stream_.avail_in = in.size();
    stream_.next_out = as<std::uint8_t>(out);
    stream_.avail_out = out.size();
    const lzma_ret status = lzma_code(&stream_, input_ended ? LZMA_FINISH : LZMA_RUN);
    const Step step{in.size() - stream_.avail_in, out.size() - stream_.avail_out, Outcome::more};
    switch (status) {
      case LZMA_OK:
      case LZMA_BUF_ERROR: return step;  // no progress, for want of input
      case LZMA_STREAM_END: return {step.used, step.made, Outcome::member_end};
      case LZMA_MEM_ERROR: case LZMA_MEMLIMIT_ERROR: return {step.used, step.made, Outcome::no_memory};
      default: return {step.used, step.made, Outcome::bad_data};
    }
  }

 private:
  lzma_stream stream_ = LZMA_STREAM_INIT;
  bool header_checked_ = false;
};

// zstd, with libzstd: a frame's header is what ZSTD_getFrameHeader accepts.
// Frames follow each other in one context, skippable ones included.
//
// A call of ZSTD_decompressStream that fails reports none of the output it
// made before, such as the last block's when the frame's checksum fails.
// So within a frame each call takes one whole unit of input (a block
// header, a block, the checksum) and no more, and a call that may still
// have output to give takes no input at all.
class ZstdDecoder final : public StreamDecoder {
 public:
  ~ZstdDecoder() override { ZSTD_freeDCtx(context_); }
  Outcome start() override {
    if (context_ == nullptr) {
      context_ = ZSTD_createDCtx();
      constexpr int kWindowLogLimit = static_cast<int>(std::bit_width(kDecoderMemoryLimit)) - 1;
      if (context_ != nullptr) ZSTD_DCtx_setParameter(context_, ZSTD_d_windowLogMax, kWindowLogLimit);
    }
    in_header_ = true;
    return context_ != nullptr ? Outcome::more : Outcome::no_memory;
  }
  Step step(std::span<const std::byte> in, std::span<std::byte> out, bool input_ended) override {
    ZSTD_outBuffer to{out.data(), out.size(), 0};
    if (flushing_) {
      ZSTD_inBuffer none{in.data(), 0, 0};
      const Step step = finish(ZSTD_decompressStream(context_, &to, &none), none, to);
      if (step.made > 0) return step;
    }
    std::size_t unit = in.size();
    if (in_header_) {
      ZSTD_frameHeader header{};
      const std::size_t wanted = ZSTD_getFrameHeader(&header, in.data(), in.size());
      if (ZSTD_isError(wanted)) return {0, 0, outcome_of(wanted, Outcome::header_rejected)};
      if (wanted > 0) return {};
      // A skippable frame gives no output: all of it at once.
      if (header.frameType == ZSTD_frame) unit = header.headerSize;
    } else if (ZSTD_nextInputType(context_) != ZSTDnit_skippableFrame) {
      unit = ZSTD_nextSrcSizeToDecompress(context_);
      if (in.size() < unit && !input_ended) return {};
    }
    ZSTD_inBuffer from{in.data(), std::min(unit, in.size()), 0};
    in_header_ = false;
    return finish(ZSTD_decompressStream(context_, &to, &from), from, to);
  }

 private:
  static Outcome outcome_of(std::size_t error, Outcome otherwise) {
    const ZSTD_ErrorCode code = ZSTD_getErrorCode(error);
    return code == ZSTD_error_frameParameter_windowTooLarge || code == ZSTD_error_memory_allocation
               ? Outcome::no_memory
               : otherwise;
  }
  Step finish(std::size_t status, const ZSTD_inBuffer& from, const ZSTD_outBuffer& to) {
    flushing_ = to.pos == to.size;
    const Outcome outcome = ZSTD_isError(status) ? outcome_of(status, Outcome::bad_data)
                            : status == 0         ? Outcome::member_end
                                                  : Outcome::more;
    return {from.pos, to.pos, outcome};
  }

  ZSTD_DCtx* context_ = nullptr;
  bool in_header_ = true;  // the frame's header is yet to come
  bool flushing_ = false;  // the last call filled the output
};

// bzip2, with libbz2: a stream's header is "BZh" and the block size.
class Bzip2Decoder final : public StreamDecoder {
 public:
  ~Bzip2Decoder() override { end(); }
  Outcome start() override {
    end();
    started_ = BZ2_bzDecompressInit(&stream_, 0, 0) == BZ_OK;
    return started_ ? Outcome::more : Outcome::no_memory;
  }
  Step step(std::span<const std::byte> in, std::span<std::byte> out, bool) override {
    stream_.next_in = const_cast<char*>(as<char>(in));  // libbz2 does not write through it
    stream_.avail_in = clamped(in.size());
    stream_.next_out = as<char>(out);
    stream_.avail_out = clamped(out.size());
    const int status = BZ2_bzDecompress(&stream_);
    const Step step{in.size() - stream_.avail_in, out.size() - stream_.avail_out, Outcome::more};
    switch (status) {
      case BZ_OK: return step;
      case BZ_STREAM_END: return {step.used, step.made, Outcome::member_end};
      case BZ_MEM_ERROR: return {step.used, step.made, Outcome::no_memory};  // GCOVR_EXCL_LINE: allocation failed
      case BZ_DATA_ERROR_MAGIC: return {step.used, step.made, Outcome::header_rejected};
      default: return {step.used, step.made, Outcome::bad_data};
    }
  }

 private:
  void end() {
    if (started_) BZ2_bzDecompressEnd(&stream_);
    started_ = false;
  }

  bz_stream stream_{};
  bool started_ = false;
};

std::unique_ptr<StreamDecoder> make_decoder(Format format) {
  switch (format) {
    case Format::gzip: return std::unique_ptr<StreamDecoder>(new (std::nothrow) GzipDecoder);
    case Format::xz: return std::unique_ptr<StreamDecoder>(new (std::nothrow) XzDecoder);
    case Format::zstd: return std::unique_ptr<StreamDecoder>(new (std::nothrow) ZstdDecoder);
    default: return std::unique_ptr<StreamDecoder>(new (std::nothrow) Bzip2Decoder);  // raw is not decoded
  }
}

}  // namespace

std::unique_ptr<StreamDecoder> start_decoder(Format format) {
  std::unique_ptr<StreamDecoder> decoder = make_decoder(format);
  if (decoder != nullptr && decoder->start() != Outcome::more) decoder.reset();
  return decoder;
}

}  // namespace records
