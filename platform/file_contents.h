// Whole-file reads and crash-safe whole-file replacement for small files the program
// owns (the settings file).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace veltra {

enum class FileReadStatus {
    Ok,       // bytes hold the whole file
    Missing,  // no file at the path (or a directory on the way is missing)
    Failed,   // the file exists but cannot be read, or is not a regular file
};

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Failed;
    std::string bytes;
};

// Reads the whole file at path. Never creates anything and never throws.
FileReadResult ReadFileContents(const std::filesystem::path& path);

// Called once the temporary file holds the new bytes, synced to disk and closed, just
// before it is renamed over the target. Lets tests look at (or interrupt) that moment.
using BeforeReplaceHook = std::function<void(const std::filesystem::path& temporary)>;

// Replaces the file at path with bytes, creating it when missing. The bytes go to a new
// temporary file in the same directory, which is synced and then renamed over the old
// file, so at every moment the path holds either the whole old or the whole new content.
// A symbolic link at path is followed, and an existing file keeps its permission bits.
// False on any failure: the old file is then untouched and no temporary file remains
// (only a process killed between the two steps can leave the temporary file behind).
// Never throws.
bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes,
                         const BeforeReplaceHook& beforeReplace = {});

}  // namespace veltra
