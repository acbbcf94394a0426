// SPDX-License-Identifier: MIT
// What navcheck's large reads seldom meet: a reader that takes a zstd
// file's content in small pieces gets all of it, up to a failed checksum.
#include "decoded_input.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zstd.h>

#include <cstdio>
#include <vector>

namespace records {
namespace {

TEST(DecodedInput, GivesEveryZstdByteBeforeAFailedChecksum) {
  std::vector<std::byte> content(1'000'000);  // several blocks of 128 KiB
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = std::byte((i * i) >> 9);
  std::vector<std::byte> file(ZSTD_compressBound(content.size()));
  ZSTD_CCtx* compressor = ZSTD_createCCtx();
  ZSTD_CCtx_setParameter(compressor, ZSTD_c_checksumFlag, 1);
  file.resize(ZSTD_compress2(compressor, file.data(), file.size(), content.data(), content.size()));
  ZSTD_freeCCtx(compressor);
  ASSERT_FALSE(ZSTD_isError(file.size()));
  file.back() ^= std::byte{0xff};  // in the checksum, the frame's last 4 bytes
  std::FILE* stream = std::tmpfile();
  ASSERT_NE(stream, nullptr);
  ASSERT_EQ(std::fwrite(file.data(), 1, file.size(), stream), file.size());
  ASSERT_EQ(std::fflush(stream), 0);

  std::vector<std::byte> input(DecodedInput::kMinInputSize);
  for (const std::size_t piece : {100, 4096, 65536, 1'000'000}) {
    ASSERT_EQ(::lseek(::fileno(stream), 0, SEEK_SET), 0);
    DecodedInput decoded(::fileno(stream), input);
    std::vector<std::byte> read;
    std::vector<std::byte> into(piece);
    for (std::size_t got = 0; (got = decoded.read(into)) > 0;) {
      read.insert(read.end(), into.begin(), into.begin() + static_cast<std::ptrdiff_t>(got));
    }
    EXPECT_TRUE(read == content) << piece << "-byte pieces: " << read.size() << " bytes";
    EXPECT_EQ(decoded.format(), Format::zstd);
    EXPECT_TRUE(decoded.corrupt());
    EXPECT_EQ(decoded.read_error(), 0);
  }
  std::fclose(stream);
}

}  // namespace
}  // namespace records
