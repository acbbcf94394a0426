// SPDX-License-Identifier: MIT
#include "file_reading.h"

#include <unistd.h>

#include <algorithm>

#include "decoded_input.h"
#include "program_io.h"
#include "record_reader.h"

namespace navspan {

using records::kRecordSize;

std::optional<Note> read_file(const char* path, int output_fd, const ReadingRoom& room,
                              CampaignSpans& campaign, std::FILE* err) {
  const int fd = records::open_input(path, output_fd, err);
  if (fd < 0) return Note::unreadable;
  records::DecodedInput decoded(fd, room.input);
  records::RecordReader reader(decoded, room.buffer);
  // Blocks of records small enough that their times are read while the
  // records are in the processor's first-level cache.
  for (auto chunk = reader.next(); !chunk.empty(); chunk = reader.next()) {
    const std::size_t count = chunk.size() / kRecordSize;
    for (std::size_t first = 0; first < count; first += room.block.size()) {
      const std::byte* records = chunk.data() + first * kRecordSize;
      const std::size_t size = std::min(room.block.size(), count - first);
      if (campaign.take_plain_records(records, size)) continue;
      const std::size_t found = records::read_times(records, size, campaign.reading(), room.block.data());
      campaign.take(room.block.first(found));
    }
  }
  ::close(fd);
  if (decoded.read_error() != 0) {
    std::fprintf(err, "ERROR: cannot read the input file: %s\n", path);
    return Note::unreadable;
  }
  return decoded.corrupt() ? std::optional(Note::corrupt) : std::nullopt;
}

}  // namespace navspan
