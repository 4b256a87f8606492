// Hexadecimal text of bytes and numbers of digit texts, as they travel in requests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltra {

// Each byte as two upper-case hexadecimal digits, no separators.
std::string BytesToHex(std::string_view bytes);

// Reads the text two characters at a time, either letter case; a last single
// character gives a byte of its own. Characters that are not hexadecimal digits
// count as 0. Lenient by design: the peer sends only hexadecimal digits.
std::string HexToBytes(std::string_view hex);

// Strict form for input from outside: nullopt unless the text is an even number of
// hexadecimal digits.
std::optional<std::string> HexToBytesStrict(std::string_view hex);

// Base codes of ParseNumber.
enum NumberBase : int { kBase16 = 0, kBase10 = 1, kBase8 = 2, kBase2 = 3 };

// Base 10 reads the leading integer of the text. Bases 16, 8 and 2 weigh the k-th
// character from the right by base^k; characters that are not digits of the base
// count as 0. Letter case does not matter. Wraps modulo 2^64 on overflow.
int64_t ParseNumber(std::string_view digits, int baseCode = kBase10);

}  // namespace veltra
