// File attributes that only some platforms have.
#pragma once

#include <filesystem>

namespace veltra {

// Gives the file at path the hidden attribute alone (read-only and archive dropped)
// where the platform has such attributes; POSIX has none, so there it only checks that
// the file exists. False when the file is missing or the attribute cannot be set.
// Never throws.
bool SetHiddenAttribute(const std::filesystem::path& path);

}  // namespace veltra
