// SPDX-License-Identifier: MIT
// Fuzz target: the reader of listed records on arbitrary input bytes, with
// interruptions, short transfers, refused skips and a read error injected
// through its byte source. Checks that exactly the listed whole records come
// out, the count is exact up to the error, and the error is reported iff
// one was injected.
//
// Input: seven control bytes, then the record file's bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fake_input.h"
#include "record_reader.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kControl = 7;
  if (size < kControl) return 0;
  const auto* bytes = reinterpret_cast<const std::byte*>(data);
  navdump::FakeInput input(std::vector<std::byte>(bytes + kControl, bytes + size));
  const std::size_t file_size = input.bytes.size();
  const std::int64_t interval = 1 + data[0] % 7;
  if (data[1] != 0) input.chunks = {data[1] % 64U + 1, data[1] * 3U + 1};
  constexpr int kInterruptEvery[] = {0, 2, 3, 5};  // 1 would interrupt every call
  input.interrupt_every = kInterruptEvery[data[2] % 4];
  input.refuse_skips_after = data[3] % 5 - 1;
  const bool inject = (data[4] & 0x80) == 0;
  if (inject) input.fail_at = ((data[4] << 8U) | data[5]) % (file_size + 1);
  constexpr std::size_t kBufferSizes[] = {0, 100, 136, 4096};
  std::vector<std::byte> buffer(kBufferSizes[data[6] % 4]);

  navdump::ListedRecords records(input, interval, buffer);
  const std::size_t reachable = inject ? input.fail_at : file_size;
  const std::size_t whole = reachable / navdump::kRecordSize;
  std::size_t listed = 0;
  while (const auto record = records.next()) {
    const std::size_t number = (listed + 1) * static_cast<std::size_t>(interval);
    if (number > whole) fail("a record past the whole records was listed");
    if (std::memcmp(record->data(), input.bytes.data() + (number - 1) * navdump::kRecordSize,
                    navdump::kRecordSize) != 0) {
      fail("listed record's bytes");
    }
    ++listed;
  }
  if (listed != whole / static_cast<std::size_t>(interval)) fail("number of listed records");
  if (records.record_count() != static_cast<std::int64_t>(whole)) fail("record count");
  if (records.read_error() != (inject ? EIO : 0)) fail("read error");
  if (input.offset != reachable) fail("every byte is pulled through");
  const double t0 = whole > 0 ? navdump::decode_time(std::span<const std::byte, navdump::kRecordSize>(
                                    input.bytes.data(), navdump::kRecordSize))
                              : 0.0;
  const double first = records.first_time();
  if (std::memcmp(&t0, &first, sizeof t0) != 0) fail("first time");
  return 0;
}
