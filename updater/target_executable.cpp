// The executable named by the updater's last word, resolved in the run directory.
#include "updater/target_executable.h"

#include <system_error>

namespace veltra {
namespace {

constexpr std::string_view kWindowsSuffix = ".exe";

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

bool Exists(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos;
}

TargetExecutable FindTargetExecutable(const std::filesystem::path& runDirectory,
                                      const std::string& exeName) {
    TargetExecutable result;
    if (!IsPlainFileName(exeName)) {
        result.error = "程序名必须是不含路径的文件名 (not a plain file name): \"" + exeName + "\"";
        return result;
    }
    std::filesystem::path path = runDirectory / exeName;
    // The program names its executable the Windows way, with ".exe"; on Linux the
    // executable has no suffix, so a missing "X.exe" means "X".
    if (!Exists(path) && exeName.size() > kWindowsSuffix.size() &&
        exeName.ends_with(kWindowsSuffix)) {
        const std::filesystem::path bare =
            runDirectory / exeName.substr(0, exeName.size() - kWindowsSuffix.size());
        if (Exists(bare)) path = bare;
    }
    if (!Exists(path)) {
        result.error = "找不到要更新的程序 (no such file): " + path.string();
        return result;
    }
    if (!IsRegularFile(path)) {
        result.error = "要更新的程序不是普通文件 (not a regular file): " + path.string();
        return result;
    }
    result.ok = true;
    result.path = path;
    return result;
}

}  // namespace veltra
