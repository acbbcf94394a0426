// SPDX-License-Identifier: MIT
// A scripted byte source for the record reader, for tests and fuzzing:
// serves bytes from memory in chosen chunk sizes, through reads and skips,
// and can be interrupted, refuse skips or fail on cue.
#pragma once

#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>
#include <vector>

#include "record_reader.h"

namespace navdump {

class FakeInput final : public ByteSource {
 public:
  FakeInput() = default;
  explicit FakeInput(std::vector<std::byte> input) : bytes(std::move(input)) {}

  std::vector<std::byte> bytes;
  std::size_t offset = 0;
  std::vector<std::size_t> chunks;  // sizes of successive transfers, cycled; empty: as asked
  std::size_t next_chunk = 0;
  std::size_t fail_at = static_cast<std::size_t>(-1);  // offset that fails with EIO
  int interrupt_every = 0;  // every n-th call fails with EINTR first
  int refuse_skips_after = -1;  // skips after this many fail; -1: never
  int refusal = EINVAL;         // the errno of a refused skip
  int calls = 0;
  int skips = 0;
  std::size_t bytes_read = 0;  // copied out through read calls

  ssize_t read(void* buffer, std::size_t size) override {
    const ssize_t n = transfer(size);
    if (n > 0) {
      std::memcpy(buffer, bytes.data() + offset - static_cast<std::size_t>(n),
                  static_cast<std::size_t>(n));
      bytes_read += static_cast<std::size_t>(n);
    }
    return n;
  }

  ssize_t skip(std::size_t size) override {
    if (refuse_skips_after >= 0 && skips >= refuse_skips_after) {
      errno = refusal;
      return -1;
    }
    ++skips;
    return transfer(size);
  }

 private:
  ssize_t transfer(std::size_t size) {
    ++calls;
    if (interrupt_every > 0 && calls % interrupt_every == 0) {
      errno = EINTR;
      return -1;
    }
    if (offset >= fail_at) {
      errno = EIO;
      return -1;
    }
    std::size_t n = size;
    if (!chunks.empty()) n = std::min(n, chunks[next_chunk++ % chunks.size()]);
    n = std::min({n, bytes.size() - std::min(offset, bytes.size()), fail_at - offset});
    offset += n;
    return static_cast<ssize_t>(n);
  }
};

}  // namespace navdump
