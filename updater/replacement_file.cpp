// Temporary file beside the target, fsync, chmod, rename(2).
#include "updater/replacement_file.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace veltra {

ReplacementFile::~ReplacementFile() {
    Discard();
}

bool ReplacementFile::Create(const std::filesystem::path& finalPath) {
    Discard();
    failedStep = Step::None;
    errorNumber = 0;
    target = finalPath;
    const std::filesystem::path directory =
        finalPath.has_parent_path() ? finalPath.parent_path() : std::filesystem::path(".");
    // Hidden, so a listing of the directory does not show a half-written file.
    std::string pattern =
        (directory / ("." + finalPath.filename().string() + ".new-XXXXXX")).string();
    fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return Fail(Step::Create, errno);
    temporaryPath = pattern;
    return true;
}

bool ReplacementFile::Write(std::span<const unsigned char> bytes) {
    if (fd < 0) return Fail(Step::Write, EBADF);
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return Fail(Step::Write, errno);
        }
        bytes = bytes.subspan(static_cast<size_t>(written));
    }
    return true;
}

bool ReplacementFile::Commit(mode_t mode) {
    if (fd < 0) return Fail(Step::Write, EBADF);
    if (fsync(fd) != 0) return Fail(Step::Sync, errno);
    if (fchmod(fd, mode) != 0) return Fail(Step::Mode, errno);
    const int closing = fd;
    fd = -1;
    if (close(closing) != 0) return Fail(Step::Close, errno);
    if (rename(temporaryPath.c_str(), target.c_str()) != 0) return Fail(Step::Rename, errno);
    temporaryPath.clear();

    // Make the rename itself durable. The new file is in place already, so a failure
    // here changes nothing the caller could act on.
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int dirFd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}

void ReplacementFile::Discard() {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
    if (!temporaryPath.empty()) {
        unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }
}

bool ReplacementFile::Fail(Step step, int error) {
    failedStep = step;
    errorNumber = error;
    Discard();
    return false;
}

}  // namespace veltra
