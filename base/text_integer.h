// Reads the integer at the start of a text, the way every numeric field is read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltra {

// The leading numeric part of text: an optional '-' or '+', then
// decimal digits; a fraction or anything after the digits is cut off. 0 when the text
// does not start with a number. Values beyond 64 bits saturate. Never throws.
int64_t IntegerOfText(std::string_view text);

// The same value reduced to a signed 32-bit integer by wrap-around (modulo 2^32).
int32_t Int32OfText(std::string_view text);

// Wraps a 64-bit value to a signed 32-bit integer (modulo 2^32).
constexpr int32_t WrapInt32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

}  // namespace veltra
