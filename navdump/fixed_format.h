// SPDX-License-Identifier: MIT
// Numbers in the listing's printf formats, without printf.
//
// append_fixed writes exactly the bytes of printf's "%W.Plf" (fixed
// notation, right-aligned in W blanks, wider when the number needs it;
// "nan", "-nan", "inf", "-inf" for the special values) and append_int those
// of "%Wd". Both write at a raw position in a buffer the caller sized with
// the capacities below, and return the position after the last byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace navdump {

// The widest double in fixed notation with the given number of decimals: a
// sign, 309 integer digits (the largest double is about 1.8e308), the point
// and the decimals; wider than any field width of the listing.
constexpr std::size_t fixed_capacity(std::size_t precision) { return 1 + 309 + 1 + precision; }

// The widest int32: a sign and ten digits.
inline constexpr std::size_t kIntCapacity = 11;

// Appends value as "%{width}.{precision}lf" would print it; out must have
// room for fixed_capacity(precision) bytes.
char* append_fixed(char* out, double value, int width, int precision);

// Appends value as "%{width}d" would print it; out must have room for
// kIntCapacity bytes.
char* append_int(char* out, std::int32_t value, int width);

// Appends literal text.
char* append_text(char* out, std::string_view text);

}  // namespace navdump
