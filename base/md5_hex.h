// MD5 digests as hexadecimal text.
#pragma once

#include <string>
#include <string_view>

namespace veltra {

// The MD5 digest of the bytes, as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace veltra
