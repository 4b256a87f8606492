// The desktop look shared by every window: style, palette, a font that has the
// Chinese characters, the window icon. Call once, after the QApplication exists.
#pragma once

#include <string_view>

namespace veltra {

void PrepareQtApplication(std::string_view displayName);

}  // namespace veltra
