// The updater program, carried inside the main program as data.
#pragma once

#include <filesystem>
#include <span>

namespace veltra {

// The bytes of the updater executable built with this program.
std::span<const unsigned char> CarriedUpdater();

// Writes the carried updater to target through a temporary file beside it, mode
// 0755, replacing any file there. False on any failure; target is then untouched
// and no temporary file is left.
bool WriteCarriedUpdater(const std::filesystem::path& target);

}  // namespace veltra
