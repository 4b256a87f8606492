// The names of the entries of a directory, sorted.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace veltra::test {

inline std::vector<std::string> DirectoryEntries(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace veltra::test
