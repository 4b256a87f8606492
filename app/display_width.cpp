// Terminal column widths of UTF-8 text.
#include "app/display_width.h"

#include <cstdint>

namespace veltra {
namespace {

struct Character {
    char32_t code = 0;
    size_t length = 1;
    bool valid = false;
};

// Decodes the character at the front of text (text is not empty).
Character Decode(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) return {lead, 1, true};
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
    } else {
        return {};
    }
    if (text.size() < length) return {};
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return {};
        code = (code << 6) | (next & 0x3F);
    }
    return {code, length, true};
}

int CodeWidth(char32_t c) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return 0;
    if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) ||
        (c >= 0xFE00 && c <= 0xFE0F)) {
        return 0;
    }
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
                      (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
                      (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
                      (c >= 0x1F900 && c <= 0x1F9FF) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

}  // namespace

int DisplayWidth(std::string_view text) {
    int width = 0;
    while (!text.empty()) {
        const Character c = Decode(text);
        width += c.valid ? CodeWidth(c.code) : 1;
        text.remove_prefix(c.length);
    }
    return width;
}

std::string_view CutToWidth(std::string_view text, int columns) {
    if (columns <= 0) return {};
    size_t end = 0;
    int width = 0;
    while (end < text.size()) {
        const Character c = Decode(text.substr(end));
        const int w = c.valid ? CodeWidth(c.code) : 1;
        if (width + w > columns) break;
        width += w;
        end += c.length;
    }
    return text.substr(0, end);
}

}  // namespace veltra
