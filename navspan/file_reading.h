// SPDX-License-Identifier: MIT
// Reading one record file of the campaign, front to back, once: the one
// place where navspan opens and reads its input.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <span>

#include "campaign_spans.h"
#include "span_table.h"
#include "step_rules.h"

namespace navspan {

// What reading a file reads into: memory reserved once for the whole run.
struct ReadingRoom {
  std::span<std::byte> buffer;         // of the reader
  std::span<std::byte> input;          // of a compressed file's bytes (records::DecodedInput)
  std::span<records::GoodTime> block;  // the good times of a block of records
};

// Hands the good times of the file at path to campaign, a block at a time,
// a compressed file's as decoded. Nothing once the file was read to its
// end; the note of a file that could not be opened or read, whose error is
// written to err, or whose compressed data is damaged after the records
// handed out. output_fd: as records::open_input takes it.
std::optional<Note> read_file(const char* path, int output_fd, const ReadingRoom& room,
                              CampaignSpans& campaign, std::FILE* err);

}  // namespace navspan
