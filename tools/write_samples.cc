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

// Names the argument that is not a usable number; returns the failure status.
int bad_number(const char* program, const char* what, const char* text) {
  std::fprintf(stderr, "%s: bad %s: %s\n", program, what, text);
  return -9;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: %s OUTPUT RECORDS [START_TIME [RATE_HZ]]\n",
                 argc > 0 ? argv[0] : "write_samples");
    return -9;
  }
  double records = 0.0;
  double start_time = 345600.0;
  double rate_hz = 50.0;
  if (!parse_number(argv[2], records) || records < 0) {
    return bad_number(argv[0], "number of records", argv[2]);
  }
  if (argc > 3 && !parse_number(argv[3], start_time)) {
    return bad_number(argv[0], "start time", argv[3]);
  }
  if (argc > 4 && (!parse_number(argv[4], rate_hz) || !(rate_hz > 0))) {
    return bad_number(argv[0], "rate", argv[4]);
  }
  std::FILE* out = std::strcmp(argv[1], "-") == 0 ? stdout : std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "%s: cannot create %s\n", argv[0], argv[1]);
    return -9;
  }
  const bool ok = tools::write_synthetic(out, static_cast<std::int64_t>(records),
                                         start_time, rate_hz);
  if (std::fclose(out) != 0 || !ok) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    return -9;
  }
  return 0;
}
