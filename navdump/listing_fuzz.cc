// Fuzz target: arbitrary bytes as a record file, through the reader, the
// angle conversion, the time breakdown and the block writer, with the
// listing's invariants checked on every input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "driver.h"
#include "fake_input.h"

namespace {

// A header line: "===GPS Time: " then the time right-aligned in at least 22
// positions, two blanks, and "day,hour:minute:second.hundredths", each an
// integer (negative for negative times) padded with blanks.
bool header_is_well_formed(std::string_view line) {
  constexpr std::string_view kStart = "===GPS Time: ";
  if (line.substr(0, kStart.size()) != kStart) return false;
  const std::size_t parts_at = line.rfind("  ");
  if (parts_at == std::string_view::npos || parts_at < kStart.size() + 22) return false;
  const std::string parts(line.substr(parts_at + 2));
  int day = 0, hour = 0, minute = 0, second = 0, hundredths = 0, used = 0;
  if (std::sscanf(parts.c_str(), "%d,%d:%d:%d.%d%n", &day, &hour, &minute, &second,
                  &hundredths, &used) != 5 ||
      static_cast<std::size_t>(used) != parts.size()) {
    return false;
  }
  return hour > -24 && hour < 24 && minute > -60 && minute < 60 && second > -60 &&
         second < 60 && hundredths >= -100 && hundredths <= 100;
}

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the size of each read, so that records split
  // across reads at every offset.
  const std::size_t chunk = size > 0 ? 1 + data[0] * 3U : 1;
  navdump::FakeInput input(std::vector<std::byte>(reinterpret_cast<const std::byte*>(data),
                                                  reinterpret_cast<const std::byte*>(data) + size));
  input.chunks = {chunk};
  std::vector<std::byte> buffer(navdump::kRecordSize * 4);
  navdump::ListedRecords records(input, navdump::kListingInterval, buffer);

  char* text = nullptr;
  std::size_t text_size = 0;
  std::FILE* out = open_memstream(&text, &text_size);
  const navdump::ListingOutcome outcome = navdump::list_records(records, out);
  std::fclose(out);
  const std::string_view listing(text, text_size);

  if (outcome.record_count != static_cast<std::int64_t>(size / navdump::kRecordSize)) {
    fail("record count");
  }
  const auto blocks = static_cast<std::size_t>(outcome.record_count / navdump::kListingInterval);
  std::size_t at = 0;
  for (std::size_t b = 0; b < blocks; ++b) {
    if (at >= listing.size() || listing[at] != '\n') fail("block opens with an empty line");
    const std::size_t header_end = listing.find('\n', at + 1);
    const std::size_t data_end = listing.find('\n', header_end + 1);
    if (data_end == std::string_view::npos) fail("block has two lines");
    if (!header_is_well_formed(listing.substr(at + 1, header_end - at - 1))) fail("header");
    at = data_end + 1;
  }
  if (at != listing.size()) fail("nothing but blocks");
  std::free(text);
  return 0;
}
