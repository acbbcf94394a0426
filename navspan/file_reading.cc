// SPDX-License-Identifier: MIT
#include "file_reading.h"

#include <unistd.h>

#include <algorithm>

#include "program_io.h"
#include "record_reader.h"

namespace navspan {

using records::kRecordSize;

std::optional<Note> read_file(const char* path, int output_fd, const ReadingRoom& room,
                              CampaignSpans& campaign, std::FILE* err) {
  const int fd = records::open_input(path, output_fd, err);
  if (fd < 0) return Note::unreadable;
  records::RecordReader reader(fd, room.buffer);
  // Blocks of records small enough that their times are read while the
  // records are in the processor's first-level cache.
  for (auto chunk = reader.next(); !chunk.empty(); chunk = reader.next()) {
    const std::size_t count = chunk.size() / kRecordSize;
    for (std::size_t first = 0; first < count; first += room.block.size()) {
      const std::size_t found =
          records::read_times(chunk.data() + first * kRecordSize, std::min(room.block.size(), count - first),
                              campaign.reading(), room.block.data());
      campaign.take(room.block.first(found));
    }
  }
  ::close(fd);
  if (reader.read_error() != 0) {
    std::fprintf(err, "ERROR: cannot read the input file: %s\n", path);
    return Note::unreadable;
  }
  return std::nullopt;
}

}  // namespace navspan
