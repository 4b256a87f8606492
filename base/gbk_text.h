// Conversion between the program's UTF-8 text and the GBK bytes of the Windows code
// page, used only where those bytes are observable (seeds, the settings file).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltra {

// GBK bytes of a UTF-8 text; nullopt when the text is not valid UTF-8 or holds a
// character GBK cannot represent.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// UTF-8 text of GBK bytes; nullopt when the bytes are not valid GBK.
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// GBK bytes of a UTF-8 text, with characters GBK cannot hold (or invalid bytes)
// left out. Used where a result is needed whatever the input.
std::string Utf8ToGbkLossy(std::string_view utf8);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

}  // namespace veltra
