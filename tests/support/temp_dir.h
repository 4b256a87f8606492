// A fresh temporary directory for one test, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace veltra::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // Writes a file below the directory and returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& bytes) const;

  private:
    std::filesystem::path path;
};

// Absolute path of a file under tests/data.
std::filesystem::path TestDataPath(const std::string& relative);

}  // namespace veltra::test
