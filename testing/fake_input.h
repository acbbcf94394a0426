// A scripted byte source for the reader's read call, for tests and fuzzing:
// serves bytes from memory in chosen chunk sizes and can fail on cue.
#pragma once

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>
#include <algorithm>
#include <vector>

#include "record_reader.h"

namespace navdump {

struct FakeInput {
  FakeInput() = default;
  explicit FakeInput(std::vector<std::byte> input) : bytes(std::move(input)) {}

  std::vector<std::byte> bytes;
  std::size_t offset = 0;
  std::vector<std::size_t> chunks;  // sizes of successive reads, cycled; empty: as asked
  std::size_t next_chunk = 0;
  std::size_t fail_at = static_cast<std::size_t>(-1);  // offset that fails with EIO
  int interrupt_every = 0;  // every n-th call fails with EINTR first
  int calls = 0;

  ssize_t read(void* buffer, std::size_t size) {
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
    n = std::min({n, bytes.size() - offset, fail_at - offset});
    if (n > 0) std::memcpy(buffer, bytes.data() + offset, n);
    offset += n;
    return static_cast<ssize_t>(n);
  }
};

// A read call that serves the given input, which must outlive it.
inline ReadCall read_from(FakeInput& input) {
  return [&input](int /*fd*/, void* buffer, std::size_t size) {
    return input.read(buffer, size);
  };
}

}  // namespace navdump
