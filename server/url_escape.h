// Percent-escaping of a request text as one URL path segment, and its inverse.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltra {

// Every byte outside ASCII letters, digits and "-_.~" becomes %XX (upper-case hex).
// UTF-8 input therefore travels as the escapes of its UTF-8 bytes; the result is ASCII.
std::string UrlEscapeUtf8(std::string_view text);

// Undoes percent-escaping; nullopt when a '%' is not followed by two hex digits.
std::optional<std::string> UrlUnescape(std::string_view text);

}  // namespace veltra
