// SPDX-License-Identifier: MIT
#include "file_check.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "decoded_input.h"
#include "program_io.h"

namespace navcheck {
namespace {

using records::kRecordSize;
using records::load_bits;

// A double is infinite or NaN when its exponent is all ones, which one
// step more carries into the sign bit.
constexpr std::uint64_t kExponent = std::uint64_t{0x7ff} << 52;
constexpr std::uint64_t kExponentStep = std::uint64_t{1} << 52;

bool any_not_finite_one_by_one(const std::byte* p, std::size_t count) {
  std::uint64_t carries = 0;
  for (std::size_t i = 0; i < count; ++i) {
    carries |= (load_bits(p + i * sizeof(double)) & kExponent) + kExponentStep;
  }
  return (carries >> 63) != 0;
}

// The same with Words, a vector of several doubles' bits taken at once in
// the host's order: the compiler maps it onto the processor's vector
// registers. Most of the checking time goes here.
template <typename Words>
bool any_not_finite_in(const std::byte* p, std::size_t count) {
  if constexpr (std::endian::native == std::endian::big) {
    return any_not_finite_one_by_one(p, count);  // GCOVR_EXCL_LINE: big-endian hosts
  }
  constexpr std::size_t kDoubles = sizeof(Words) / sizeof(double);
  Words carries{};
  Words beside{};  // so that two loads go at a time
  for (; count >= 2 * kDoubles; count -= 2 * kDoubles, p += 2 * sizeof(Words)) {
    Words words;
    Words next;
    std::memcpy(&words, p, sizeof words);
    std::memcpy(&next, p + sizeof words, sizeof next);
    carries |= (words & kExponent) + kExponentStep;
    beside |= (next & kExponent) + kExponentStep;
  }
  carries |= beside;
  std::uint64_t any = 0;
  for (std::size_t i = 0; i < kDoubles; ++i) any |= carries[i];
  return (any >> 63) != 0 || any_not_finite_one_by_one(p, count);
}

using Words2 = std::uint64_t __attribute__((vector_size(16)));
using Words4 = std::uint64_t __attribute__((vector_size(32)));

}  // namespace

// Whether any of the count doubles at p is infinite or NaN: four doubles at
// a time on x86-64 processors with AVX2, two elsewhere. Outside the
// anonymous namespace, so that a build for AVX2 may leave the other version
// unused.
#if defined(__x86_64__)
__attribute__((target("avx2"))) bool any_not_finite(const std::byte* p, std::size_t count) {
  return any_not_finite_in<Words4>(p, count);
}
__attribute__((target("default")))
#endif
// Runs on x86-64 without AVX2, and on other processors. GCOVR_EXCL_START
bool any_not_finite(const std::byte* p, std::size_t count) {
  return any_not_finite_in<Words2>(p, count);
}
// GCOVR_EXCL_STOP

namespace {

// Records are checked in blocks that stay in the first-level cache: the
// values of a whole block at once, one by one only in a block where one is
// not finite, then the finite times. Blocks are small enough that most of
// them take the fast way even in a file of random bytes, where one double in
// 2048 is not finite.
constexpr std::size_t kBlockRecords = 32;

void check_block(const std::byte* block, std::size_t count, FileCheck& check) {
  std::array<double, kBlockRecords> times;
  std::size_t finite = 0;
  if (!any_not_finite(block, count * records::kFieldCount)) {
    for (std::size_t r = 0; r < count; ++r) {
      times[r] = std::bit_cast<double>(load_bits(block + r * kRecordSize));
    }
    finite = count;
  } else {
    for (const std::byte* record = block; record != block + count * kRecordSize;
         record += kRecordSize) {
      const bool bad_value =
          any_not_finite_one_by_one(record + sizeof(double), records::kFieldCount - 1);
      check.bad_value += bad_value ? 1 : 0;
      if (any_not_finite_one_by_one(record, 1)) {
        ++check.bad_time;
      } else {
        times[finite++] = std::bit_cast<double>(load_bits(record));
      }
    }
  }
  check.steps.add(std::span(times.data(), finite));
}

void check_chunk(std::span<const std::byte> chunk, FileCheck& check) {
  const std::size_t count = chunk.size() / kRecordSize;
  for (std::size_t first = 0; first < count; first += kBlockRecords) {
    check_block(chunk.data() + first * kRecordSize, std::min(kBlockRecords, count - first), check);
  }
}

// Checks every record the reader hands out, to the end of the input.
FileCheck check_records(records::RecordReader& reader) {
  FileCheck check;
  for (auto chunk = reader.next(); !chunk.empty(); chunk = reader.next()) check_chunk(chunk, check);
  check.steps.finish();
  check.records = reader.bytes_taken() / kRecordSize;
  check.extra = reader.bytes_taken() % kRecordSize;
  return check;
}

}  // namespace

std::optional<FileCheck> check_file(const char* path, int output_fd, std::span<std::byte> buffer,
                                    std::span<std::byte> input, std::FILE* err) {
  const int fd = records::open_input(path, output_fd, err);
  if (fd < 0) return std::nullopt;
  records::DecodedInput decoded(fd, input);
  records::RecordReader reader(decoded, buffer);
  FileCheck check = check_records(reader);
  ::close(fd);
  if (decoded.read_error() != 0) {
    std::fprintf(err, "ERROR: cannot read the input file: %s\n", path);
    return std::nullopt;
  }
  if (decoded.format() != records::Format::raw) check.compression = records::format_name(decoded.format());
  check.corrupt = decoded.corrupt();
  return check;
}

}  // namespace navcheck
