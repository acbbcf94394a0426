// SPDX-License-Identifier: MIT
// navspan: the spans of a campaign of record files in time order, one table
// row for each, with the time missing before each and how it begins.
#include <unistd.h>

#include <array>
#include <cstdio>

#include "campaign_spans.h"
#include "decoded_input.h"
#include "file_reading.h"
#include "program_io.h"
#include "record_reader.h"
#include "span_table.h"

namespace {

// Reads of some 300 KiB stay in the processor's second-level cache while
// their times are read, in blocks of 8 KiB of good times.
constexpr std::size_t kBufferSize = std::size_t{256} * 1024 + records::RecordReader::kMinBufferSize;
constexpr std::size_t kBlockRecords = 256;

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s {input file}...\n",
                 records::invocation_name(argc, argv, "navspan"));
    return records::kFailureStatus;
  }
  const bool out_open = records::is_open(stdout);

  // Static, so that what the run needs is reserved when the program is
  // loaded: under a tight memory limit navspan either starts and writes its
  // whole table or does not start, whatever the number and size of files.
  static std::array<std::byte, kBufferSize> buffer;
  static std::array<std::byte, records::DecodedInput::kMinInputSize> input;
  static std::array<records::GoodTime, kBlockRecords> block;
  static records::IntervalWindow window;
  const navspan::ReadingRoom room{buffer, input, block};
  navspan::SpanTable table(stdout);
  navspan::CampaignSpans campaign(window, table);
  table.print_header();
  for (int i = 1; i < argc; ++i) {
    campaign.begin_file(argv[i]);
    campaign.end_file(navspan::read_file(argv[i], out_open ? STDOUT_FILENO : -1, room, campaign, stderr));
    // Each file's rows show once it is read, through a pipe too.
    std::fflush(stdout);
  }
  table.print_total(campaign.any_interval());

  const bool write_failed = !records::close_stream(stdout, out_open);
  if (write_failed) std::fprintf(stderr, "ERROR: cannot write to standard output\n");
  if (table.unreadable() || write_failed) return records::kFailureStatus;
  return table.faulty() ? 1 : 0;
}
