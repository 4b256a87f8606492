// How many terminal columns a UTF-8 text takes, and cutting a text to a width, so
// the terminal view can line up columns of Chinese and ASCII text.
#pragma once

#include <string_view>

namespace veltra {

// Columns the text takes on a terminal: wide East Asian characters two, combining
// marks and control characters none, everything else one. A byte that does not
// start a valid UTF-8 sequence counts as one column.
int DisplayWidth(std::string_view text);

// The longest leading part of text that fits into columns, cut at a character
// boundary; empty when columns <= 0.
std::string_view CutToWidth(std::string_view text, int columns);

}  // namespace veltra
