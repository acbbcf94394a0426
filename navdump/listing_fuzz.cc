// SPDX-License-Identifier: MIT
// Fuzz target: arbitrary bytes as a record file, read through the reader of
// listed records with interruptions, short transfers, refused skips and a
// read error injected. The reader must hand out exactly the listed whole
// records, count every whole record up to the error, and report the error
// iff one was injected. The first two listed records of each input are
// checked as the ctest loops check theirs: the block against the quoted
// printf formats with x87 arithmetic, and the record's bytes, taken as
// 80-bit operand pairs, against the x87 unit.
//
// Input: seven control bytes, then the record file's bytes.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fake_input.h"
#include "operands.h"
#include "record_reader.h"
#include "x87_reference.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail = "") {
  std::fprintf(stderr, "invariant broken: %s\n%s\n", what, detail.c_str());
  std::abort();
}

void check_operand_pairs(const std::byte* bytes, std::size_t size) {
  for (; size >= 20; bytes += 20, size -= 20) {
    navdump::Extended operands[2] = {navdump::Extended(0.0), navdump::Extended(0.0)};
    for (int i = 0; i < 2; ++i) {
      std::uint64_t significand = 0;
      std::uint16_t sign_exponent = 0;
      std::memcpy(&significand, bytes + 10 * i, 8);
      std::memcpy(&sign_exponent, bytes + 10 * i + 8, 2);
      operands[i] = testing_support::Generator::canonical(sign_exponent, significand);
    }
    if (const char* what = navdump::x87::check_operations(operands[0], operands[1])) {
      fail("operation differs from the x87 unit", what);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kControl = 7;
  if (size < kControl) return 0;
  const auto* bytes = reinterpret_cast<const std::byte*>(data);
  navdump::FakeInput input(std::vector<std::byte>(bytes + kControl, bytes + size));
  const std::size_t file_size = input.bytes.size();
  const std::uint32_t interval = 1 + data[0] % 7;
  if (data[1] != 0) input.chunks = {data[1] % 64U + 1, data[1] * 3U + 1};
  constexpr int kInterruptEvery[] = {0, 2, 3, 5};  // 1 would interrupt every call
  input.interrupt_every = kInterruptEvery[data[2] % 4];
  input.refuse_skips_after = data[3] % 5 - 1;
  constexpr int kRefusals[] = {EINVAL, ENOSYS, EPERM, EIO};
  input.refusal = kRefusals[(data[3] >> 4) % 4];
  const bool inject = (data[4] & 0x80) == 0;
  if (inject) input.fail_at = ((data[4] << 8U) | data[5]) % (file_size + 1);
  constexpr std::size_t kBufferSizes[] = {0, 100, 136, 4096};
  std::vector<std::byte> buffer(kBufferSizes[data[6] % 4]);

  navdump::ListedRecords records(input, interval, buffer);
  const std::size_t reachable = inject ? input.fail_at : file_size;
  const std::size_t whole = reachable / navdump::kRecordSize;
  std::size_t listed = 0;
  while (const auto record = records.next()) {
    const std::size_t number = (listed + 1) * interval;
    if (number > whole) fail("a record past the whole records was listed");
    if (std::memcmp(record->data(), input.bytes.data() + (number - 1) * navdump::kRecordSize,
                    navdump::kRecordSize) != 0) {
      fail("listed record's bytes");
    }
    // The differential checks cost far more than the reading; a few listed
    // records per input keep the executions many.
    if (navdump::x87::kHostIsX87 && listed < 2) {
      const std::string mismatch =
          navdump::x87::check_block(navdump::decode_record(*record), records.first_time());
      if (!mismatch.empty()) fail("block differs from the reference", mismatch);
      check_operand_pairs(record->data(), record->size());
    }
    ++listed;
  }
  if (listed != whole / interval) fail("number of listed records");
  if (records.record_count() != static_cast<std::int64_t>(whole)) fail("record count");
  if (records.read_error() != (inject ? EIO : 0)) fail("read error");
  if (input.offset != reachable) fail("every byte is pulled through");
  double t0 = 0.0;
  if (whole > 0) {
    t0 = navdump::decode_record(std::span<const std::byte, navdump::kRecordSize>(
                                    input.bytes.data(), navdump::kRecordSize))
             .field[0];
  }
  const double first = records.first_time();
  if (std::memcmp(&t0, &first, sizeof t0) != 0) fail("first time");
  return 0;
}
