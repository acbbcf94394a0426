// SPDX-License-Identifier: MIT
// write_test_files KIND PATH: writes the files of the tests.
//   listing-case FILE   the record file of the command-line tests;
//   hard-cases DIR      the files scripts/compare_builds.sh compares builds
//                       on, whose beginnings seed scripts/fuzz.sh;
//   check-cases DIR     files with known faults, for navcheck;
//   span-cases DIR      campaigns of files, a folder each, for navspan.
#include <cstdio>
#include <cstring>
#include <string>

#include "sample_writer.h"
#include "test_files.h"

int main(int argc, char* argv[]) {
  const struct {
    const char* kind;
    std::string (*write)(const std::string&);
  } kinds[] = {{"listing-case", tools::write_listing_case},
               {"hard-cases", tools::write_hard_cases},
               {"check-cases", tools::write_check_cases},
               {"span-cases", tools::write_span_cases}};
  for (const auto& k : kinds) {
    if (argc != 3 || std::strcmp(argv[1], k.kind) != 0) continue;
    const std::string failed = k.write(argv[2]);
    if (failed.empty()) return 0;
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], failed.c_str());
    return tools::kFailureStatus;
  }
  std::fprintf(stderr, "usage: %s {listing-case FILE | hard-cases DIR | check-cases DIR | span-cases DIR}\n",
               argc > 0 ? argv[0] : "write_test_files");
  return tools::kFailureStatus;
}
