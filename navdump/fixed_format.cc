// SPDX-License-Identifier: MIT
#include "fixed_format.h"

#include <charconv>
#include <cstring>

namespace navdump {
namespace {

// Moves the text [first, end) to the right end of a field of the given
// width and fills the gap with blanks; longer text keeps its length.
char* align_right(char* first, char* end, int width) {
  const std::ptrdiff_t length = end - first;
  const std::ptrdiff_t gap = width - length;
  if (gap <= 0) return end;
  std::memmove(first + gap, first, static_cast<std::size_t>(length));
  std::memset(first, ' ', static_cast<std::size_t>(gap));
  return first + width;
}

}  // namespace

char* append_fixed(char* out, double value, int width, int precision) {
  // Correctly rounded with ties to even on the exact binary value, as glibc
  // does in the default rounding mode; NaN and infinities are spelled alike.
  char* const end = std::to_chars(out, out + fixed_capacity(static_cast<std::size_t>(precision)),
                                  value, std::chars_format::fixed, precision)
                        .ptr;
  return align_right(out, end, width);
}

char* append_int(char* out, std::int32_t value, int width) {
  char* const end = std::to_chars(out, out + kIntCapacity, value).ptr;
  return align_right(out, end, width);
}

char* append_text(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

}  // namespace navdump
