// SPDX-License-Identifier: MIT
// navcheck: tells which of many record files are damaged, one table row
// for each.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>

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

  // Static, so that the buffers are reserved when the program is loaded, not
  // on a stack that a limit may hold below it: the records, and the
  // compressed bytes of a compressed file.
  static std::array<std::byte, kBufferSize> buffer;
  static std::array<std::byte, records::DecodedInput::kMinInputSize> input;
  navcheck::print_header(stdout);
  bool unreadable = false;
  bool faulty = false;
  for (int i = 1; i < argc; ++i) {
    const std::optional<navcheck::FileCheck> check =
        navcheck::check_file(argv[i], out_open ? STDOUT_FILENO : -1, buffer, input, stderr);
    const std::string verdict = navcheck::verdict(check);
    navcheck::print_row(stdout, argv[i], check, verdict);
    unreadable = unreadable || !check;
    faulty = faulty || verdict != "ok";
  }

  const bool write_failed = !records::close_stream(stdout, out_open);
  if (write_failed) std::fprintf(stderr, "ERROR: cannot write to standard output\n");
  if (unreadable || write_failed) return records::kFailureStatus;
  return faulty ? 1 : 0;
}
