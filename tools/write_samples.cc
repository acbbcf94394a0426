// SPDX-License-Identifier: MIT
// write_samples: writes a synthetic sample record file.
//
//   write_samples OUTPUT RECORDS [START_TIME [RATE_HZ]]
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sample_writer.h"

namespace {

bool parse_number(const char* text, double& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtod(text, &end);
  return errno == 0 && end != text && *end == '\0';
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: %s OUTPUT RECORDS [START_TIME [RATE_HZ]]\n",
                 argc > 0 ? argv[0] : "write_samples");
    return tools::kFailureStatus;
  }
  double records = 0.0;
  double start_time = 345600.0;
  double rate_hz = 50.0;
  const char* const names[] = {"number of records", "start time", "rate"};
  double* const values[] = {&records, &start_time, &rate_hz};
  for (int i = 2; i < argc; ++i) {
    // The arguments before passed, so a failed check is this one's; the
    // count must convert to an integer.
    if (!parse_number(argv[i], *values[i - 2]) || !(records >= 0 && records < 0x1p63) ||
        !(rate_hz > 0)) {
      std::fprintf(stderr, "%s: bad %s: %s\n", argv[0], names[i - 2], argv[i]);
      return tools::kFailureStatus;
    }
  }
  std::FILE* out = std::strcmp(argv[1], "-") == 0 ? stdout : std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "%s: cannot create %s\n", argv[0], argv[1]);
    return tools::kFailureStatus;
  }
  const bool ok = tools::write_synthetic(out, static_cast<std::int64_t>(records),
                                         start_time, rate_hz);
  if (std::fclose(out) != 0 || !ok) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return tools::kFailureStatus;
  }
  return 0;
}
