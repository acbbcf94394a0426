// SPDX-License-Identifier: MIT
// The files of the tests. Each writer returns the path it could not write,
// or an empty string once all is written.
#pragma once

#include <string>

namespace tools {

// The record file of the command-line tests, the same bytes on every host:
// 9001 records a second apart from 345600 s and 135 trailing bytes.
std::string write_listing_case(const std::string& path);

// Record files whose listings are sensitive to every rounding step, for
// comparing builds digit for digit and seeding the fuzz target, in a
// folder; the same on every run.
std::string write_hard_cases(const std::string& dir);

// Record files with known faults, one each, for navcheck, in a folder.
std::string write_check_cases(const std::string& dir);

// Campaigns of record files for navspan, a folder each in a folder, whose
// names sort in time: each shows how spans begin, end and add up.
std::string write_span_cases(const std::string& dir);

}  // namespace tools
