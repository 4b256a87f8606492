// Splits a text at a separator into the pieces between separators.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltra {

// The pieces between occurrences of separator, in order. Empty pieces are kept,
// except that a separator at the very end gives no final empty piece and an empty
// text gives no pieces at all. An empty separator yields the whole text as one piece.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator);

// Every occurrence of `from` in text replaced by `to` (left to right, no overlaps).
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace veltra
