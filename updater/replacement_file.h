// A file written under a temporary name beside its final place and moved there with
// one rename: readers see the old file or the complete new one, never a torn one.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <span>
#include <string>

namespace veltra {

class ReplacementFile {
  public:
    // The step that failed, for the caller's message.
    enum class Step { None, Create, Write, Sync, Mode, Close, Rename };

    ReplacementFile() = default;
    // Removes the temporary file unless it was committed.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates an empty temporary file in target's directory, named after target.
    // False when the directory cannot be written to.
    bool Create(const std::filesystem::path& target);
    // Appends bytes to the temporary file. False on any write error (a full disk).
    bool Write(std::span<const unsigned char> bytes);
    // Flushes the contents to the disk, gives the file mode and renames it over the
    // target in one step. On false the target is untouched and the temporary file
    // is gone.
    bool Commit(mode_t mode);
    // Removes the temporary file; the target is untouched.
    void Discard();

    const std::filesystem::path& TemporaryPath() const { return temporaryPath; }
    Step FailedStep() const { return failedStep; }
    // errno of the failed step.
    int ErrorNumber() const { return errorNumber; }

  private:
    bool Fail(Step step, int error);

    std::filesystem::path target;
    std::filesystem::path temporaryPath;
    int fd = -1;
    Step failedStep = Step::None;
    int errorNumber = 0;
};

}  // namespace veltra
