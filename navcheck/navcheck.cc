// SPDX-License-Identifier: MIT
// navcheck: tells which of many record files are damaged, one table row
// for each.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <optional>

#include "check_table.h"
#include "decoded_input.h"
#include "file_check.h"
#include "program_io.h"

namespace {

// Reads of some 300 KiB stay in the processor's second-level cache while
// their records are checked.
constexpr std::size_t kBufferSize = std::size_t{256} * 1024 + records::RecordReader::kMinBufferSize;

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s {input file}...\n",
                 records::invocation_name(argc, argv, "navcheck"));
    return records::kFailureStatus;
  }
  const bool out_open = records::is_open(stdout);

  // Static, so that what checking needs is reserved when the program is
  // loaded: under a tight memory limit navcheck either starts and writes
  // its whole table or does not start.
  static std::array<std::byte, kBufferSize> buffer;
  static std::array<std::byte, records::DecodedInput::kMinInputSize> input;
  static records::IntervalWindow window;
  const navcheck::CheckRoom room{buffer, input, window};
  navcheck::print_header(stdout);
  bool unreadable = false;
  bool faulty = false;
  for (int i = 1; i < argc; ++i) {
    const std::optional<navcheck::FileCheck> check =
        navcheck::check_file(argv[i], out_open ? STDOUT_FILENO : -1, room, stderr);
    const navcheck::Faults faults = navcheck::faults_of(check);
    navcheck::print_row(stdout, argv[i], check, faults);
    unreadable = unreadable || navcheck::unreadable(faults);
    faulty = faulty || faults != 0;
  }

  const bool write_failed = !records::close_stream(stdout, out_open);
  if (write_failed) std::fprintf(stderr, "ERROR: cannot write to standard output\n");
  if (unreadable || write_failed) return records::kFailureStatus;
  return faulty ? 1 : 0;
}
