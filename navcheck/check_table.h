// SPDX-License-Identifier: MIT
// The table navcheck writes: a header line, then one row for each file, its
// values separated by tabs. A time or step that does not exist is "-"; a
// file that cannot be read has "-" in every column but the verdict.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "file_check.h"

namespace navcheck {

void print_header(std::FILE* out);

// "ok", or the words of the faults found, in a fixed order, joined by
// commas; "unreadable" for a file that could not be read.
std::string verdict(const std::optional<FileCheck>& check);

// Writes the file's row, ending with the verdict.
void print_row(std::FILE* out, const char* path, const std::optional<FileCheck>& check,
               const std::string& verdict);

}  // namespace navcheck
