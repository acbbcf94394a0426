// SPDX-License-Identifier: MIT
// Each compressed format's own library behind one small interface, for the
// member loop of DecodedInput: start a member, then step through it.
#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "decoded_input.h"

namespace records {

enum class Outcome {
  more,             // going on; needs more input when the step took and gave nothing
  member_end,       // the member ended with the step, its checks passed
  header_rejected,  // the member's header is not one of the format's
  bad_data,         // bad data or a failed check after the header
  no_memory,        // the member needs more than kDecoderMemoryLimit, or allocation failed
};

struct Step {
  std::size_t used = 0;  // input bytes taken
  std::size_t made = 0;  // output bytes given, also when the step failed
  Outcome outcome = Outcome::more;
};

class StreamDecoder {
 public:
  virtual ~StreamDecoder() = default;
  // Makes ready for a member: Outcome::more, or no_memory.
  virtual Outcome start() = 0;
  // Decodes from in into out, which is not empty; input_ended: in holds the
  // last bytes of the file.
  virtual Step step(std::span<const std::byte> in, std::span<std::byte> out, bool input_ended) = 0;
};

// The decoder of a compressed format, started on its first member:
// nothing when it cannot be allocated.
std::unique_ptr<StreamDecoder> start_decoder(Format format);

}  // namespace records
