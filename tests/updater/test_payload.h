// Bytes the updater tests serve as the new program, and a look at a file's state.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace veltra::test {

// A few hundred KiB, so a download reports progress more than once.
inline std::string NewProgramBytes() {
    std::string bytes =
        "\x7f"
        "ELF new program\n";
    uint32_t state = 12345;
    while (bytes.size() < 300 * 1024) {
        state = state * 1103515245u + 12345u;
        bytes.push_back(static_cast<char>(state >> 24));
    }
    return bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline mode_t Mode(const std::filesystem::path& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

inline std::set<std::string> Listing(const std::filesystem::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace veltra::test
