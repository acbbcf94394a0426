// SPDX-License-Identifier: MIT
// radcon: prints the radar calibration constants of channels H, V and F and
// the count calibration table of H and F. Arguments are ignored.
#include <cstdio>

#include "calibration.h"
#include "count_table.h"

namespace {

constexpr int kFailureStatus = -9;  // the shell sees 247

}  // namespace

int main() {
  const radcon::RadarTerms terms = radcon::compute_terms();
  const auto sets = radcon::compute_sets(terms);

  for (const radcon::ConstantSet& set : sets) radcon::print_set(stdout, set);
  radcon::print_table(stdout, sets[2].H_const, sets[2].F_const);

  // A table that never reached its reader must not pass for success: the
  // stream's error flag holds any write that failed on the way, and closing
  // flushes the rest and reports errors some filesystems keep until then.
  const bool write_failed = std::ferror(stdout) != 0;
  if (std::fclose(stdout) != 0 || write_failed) {
    std::fprintf(stderr, "ERROR: cannot write to standard output\n");
    return kFailureStatus;
  }
  return 0;
}
