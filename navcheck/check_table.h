// SPDX-License-Identifier: MIT
// The table navcheck writes: a header line, then one row for each file, its
// values separated by tabs, the file first and the verdict last. A time or
// step that does not exist is "-"; a file that cannot be read has "-" in
// every column but those two.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

#include "file_check.h"

namespace navcheck {

void print_header(std::FILE* out);

// The faults found in a file, one bit each in the order of their words in
// the verdict; 0 for none. A file that could not be read is unreadable.
using Faults = std::uint32_t;
Faults faults_of(const std::optional<FileCheck>& check);
// Whether the faults include unreadable, which fails the run.
bool unreadable(Faults faults);

// Writes the file's row, ending with the verdict: "ok", or the words of the
// faults, joined by commas.
void print_row(std::FILE* out, const char* path, const std::optional<FileCheck>& check,
               Faults faults);

}  // namespace navcheck
