// Finds the executable the updater replaces: a plain file name in the run directory.
#pragma once

#include <filesystem>
#include <string>

namespace veltra {

struct TargetExecutable {
    bool ok = false;
    std::filesystem::path path;
    std::string error;  // why there is nothing to replace, for the user
};

// True for a name that stays inside a directory: not empty, no path separator
// ('/' or '\\'), not "." or "..".
bool IsPlainFileName(const std::string& name);

// The existing regular file runDirectory/exeName. A name ending in ".exe" that does
// not exist falls back to the same name without the suffix. Fails for a name that
// is not a plain file name and for a missing file.
TargetExecutable FindTargetExecutable(const std::filesystem::path& runDirectory,
                                      const std::string& exeName);

}  // namespace veltra
