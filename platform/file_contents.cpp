// POSIX file reads and the write-sync-rename replacement of a file.
#include "platform/file_contents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace veltra {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd; }
    bool Valid() const { return fd >= 0; }
    // Closes now and reports whether the close succeeded (a deferred write error
    // can surface here).
    bool Close() {
        const int old = fd;
        fd = -1;
        return ::close(old) == 0;
    }

  private:
    int fd;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// The file a write should replace: a symbolic link is followed so the link itself
// survives the rename.
std::filesystem::path ReplacementTarget(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved;
}

// Creates a fresh temporary file beside target and names it in temporary (left empty
// on failure); its name starts with a dot so that a copy left by a killed process
// stays out of sight.
FileDescriptor CreateTemporary(const std::filesystem::path& target,
                               std::filesystem::path& temporary) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::mt19937 generator(device());
    std::uniform_int_distribution<size_t> pick(0, sizeof(kLetters) - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        for (int i = 0; i < 8; ++i) suffix += kLetters[pick(generator)];
        const std::filesystem::path candidate =
            target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp");
        // 0666 lets the umask decide, as for any newly created file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) temporary = candidate;
        if (fd >= 0 || errno != EEXIST) return FileDescriptor(fd);
    }
    return FileDescriptor(-1);
}

// Makes the rename itself durable. Some file systems cannot sync a directory; the new
// content is whole either way, so a failure here is not a failed write.
void SyncDirectory(const std::filesystem::path& directory) {
    const std::filesystem::path name = directory.empty() ? "." : directory;
    FileDescriptor fd(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) ::fsync(fd.Get());
}

}  // namespace

FileReadResult ReadFileContents(const std::filesystem::path& path) {
    FileReadResult result;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        result.status = (errno == ENOENT || errno == ENOTDIR) ? FileReadStatus::Missing
                                                              : FileReadStatus::Failed;
        return result;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return result;
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            result.bytes.clear();
            return result;
        }
        if (got == 0) break;
        result.bytes.append(buffer, static_cast<size_t>(got));
    }
    result.status = FileReadStatus::Ok;
    return result;
}

bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                         const BeforeReplaceHook& beforeReplace) {
    std::filesystem::path temporary;
    bool replaced = false;
    try {
        const std::filesystem::path target = ReplacementTarget(path);
        if (target.filename().empty()) return false;
        FileDescriptor fd = CreateTemporary(target, temporary);
        if (!fd.Valid()) return false;

        struct stat old {};
        const bool keepMode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
        bool ok = WriteAll(fd.Get(), bytes);
        if (ok && keepMode) ok = ::fchmod(fd.Get(), old.st_mode & 07777) == 0;
        if (ok) ok = ::fsync(fd.Get()) == 0;
        ok = fd.Close() && ok;
        if (ok && beforeReplace) beforeReplace(temporary);
        replaced = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
        if (replaced) SyncDirectory(target.parent_path());
    } catch (...) {
        // Path conversions can throw (allocation); the old file has not been touched.
        replaced = false;
    }
    if (!replaced && !temporary.empty()) ::unlink(temporary.c_str());
    return replaced;
}

}  // namespace veltra
