// SPDX-License-Identifier: MIT
// The listing driver: argument check, opening the input, the read loop that
// lists every 3000th record, and the final report with the exit status.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>

#include "record_reader.h"

namespace navdump {

// Status of a failed run; the shell sees it as 247.
inline constexpr int kFailureStatus = -9;

// Every this many records one is listed: the 3000th, 6000th, ...
inline constexpr std::int64_t kListingInterval = 3000;

// The path given as the one argument, or nothing after writing the usage
// line to err.
std::optional<const char*> input_path(int argc, const char* const* argv,
                                      std::FILE* err);

// A read-only descriptor on the path, or -1 after writing the open error to
// err. A directory counts as a file that cannot be opened.
int open_input(const char* path, std::FILE* err);

// What one pass over the input found.
struct ListingOutcome {
  std::int64_t record_count = 0;
  int read_error = 0;  // errno of a failed read, 0 at end of input
};

// A descriptor on /dev/null into which the reader skips unlisted records, or
// -1 if it cannot be opened (the reader then reads them instead).
int open_skip_sink();

// Lists every record the reader hands out on out, then takes its count and
// any read error.
ListingOutcome list_records(ListedRecords& records, std::FILE* out);

// Flushes the listing on out, then writes the count line and any failure to
// err, so that where both go to one file the count follows the listing.
// Returns the exit status.
int report(const ListingOutcome& outcome, const char* path, std::FILE* out,
           std::FILE* err);

}  // namespace navdump
