// Temporary directories and test data paths.
#include "tests/support/temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <system_error>

namespace veltra::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "veltra-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
}

std::filesystem::path TempDir::Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

std::filesystem::path TestDataPath(const std::string& relative) {
    const char* root = getenv("VELTRA_TEST_DATA");
    return std::filesystem::path(root ? root : "tests/data") / relative;
}

}  // namespace veltra::test
