// The whole contents of a file, byte for byte (empty when it cannot be read).
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace veltra::test {

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace veltra::test
