// Text splitting and replacement on byte strings. Separators are ASCII or whole
// UTF-8 sequences, so a match always falls on a character boundary.
#include "base/text_split.h"

namespace veltra {

std::vector<std::string> SplitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    size_t start = 0;
    while (start < text.size()) {
        const size_t hit = text.find(separator, start);
        if (hit == std::string_view::npos) {
            pieces.emplace_back(text.substr(start));
            return pieces;
        }
        pieces.emplace_back(text.substr(start, hit - start));
        start = hit + separator.size();
    }
    return pieces;  // the text ended with a separator: no final empty piece
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t start = 0;
    for (size_t hit = text.find(from); hit != std::string_view::npos;
         hit = text.find(from, start)) {
        result.append(text.substr(start, hit - start));
        result.append(to);
        start = hit + from.size();
    }
    result.append(text.substr(start));
    return result;
}

}  // namespace veltra
