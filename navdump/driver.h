// SPDX-License-Identifier: MIT
// The listing driver: argument check, the skip sink, the read loop that
// lists every 3000th record, and the final report with the exit status.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

#include "listed_records.h"

namespace navdump {

// The path given as the one argument, or nothing after writing the usage
// line to err.
std::optional<const char*> input_path(int argc, const char* const* argv,
                                      std::FILE* err);

// A descriptor into which the reader skips unlisted records: path opened
// for writing without blocking, kept only when it is the null device
// (character device 1, 3). Otherwise -1, and the reader reads those records
// instead; a FIFO or a regular file in its place must neither stall the run
// nor fill up. It may take the descriptor of a closed standard stream, which
// fails the run whatever flows there.
int open_skip_sink(const char* path);

// What one pass over the input found.
struct ListingOutcome {
  std::int64_t record_count = 0;
  int read_error = 0;  // errno of a failed read, 0 at end of input
};

// Lists every record handed out on out, then takes the count and any read
// error.
ListingOutcome list_records(ListedRecords& listed, std::FILE* out);

// Whether each standard stream had a descriptor at the start.
struct OpenStreams {
  bool out = false;
  bool err = false;
};

// Closes out, which flushes the listing and reports errors that some
// filesystems keep until the close, then writes the count line and any
// failure to err and closes it, so that where both share one open file the
// count follows the listing. A count that cannot be written fails the run
// too. Returns the exit status.
int report(const ListingOutcome& outcome, const char* path, OpenStreams open,
           std::FILE* out, std::FILE* err);

}  // namespace navdump
