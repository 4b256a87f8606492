// Orders the updater's steps: check the words, find the executable, open the file
// beside it, download into it, then swap it in.
#include "updater/updater_command.h"

#include <cstring>
#include <ostream>

#include "updater/progress_display.h"
#include "updater/replacement_file.h"
#include "updater/target_executable.h"
#include "updater/update_arguments.h"

namespace veltra {
namespace {

constexpr mode_t kExecutableMode = 0755;

bool IsPermissionError(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

std::string FileError(const ReplacementFile& file, const std::filesystem::path& target) {
    const int error = file.ErrorNumber();
    const std::string system = std::strerror(error);
    const std::string directory = target.parent_path().string();
    switch (file.FailedStep()) {
        case ReplacementFile::Step::Create:
            if (IsPermissionError(error)) {
                return "没有写入权限，无法在 " + directory + " 中写入新程序 (" + system + ")";
            }
            return "无法在 " + directory + " 中创建临时文件 (" + system + ")";
        case ReplacementFile::Step::Write:
        case ReplacementFile::Step::Sync:
        case ReplacementFile::Step::Close:
            return "无法写入新程序 (" + system + ")";
        case ReplacementFile::Step::Mode:
            return "无法设置新程序的执行权限 (" + system + ")";
        case ReplacementFile::Step::Rename:
            return "无法替换 " + target.string() + " (" + system + ")";
        case ReplacementFile::Step::None:
            break;
    }
    return "无法写入新程序";
}

int Fail(std::ostream& err, const std::string& why) {
    err << "更新失败 (update failed): " << why
        << "\n原程序未改动 (the old program is unchanged).\n";
    err.flush();
    return 1;
}

}  // namespace

int RunUpdaterCommand(const std::vector<std::string>& args, const UpdaterEnvironment& environment,
                      std::ostream& out, std::ostream& err) {
    const ParsedUpdateArguments parsed = ParseUpdateArguments(args);
    if (!parsed.ok) {
        err << parsed.error << "\n" << UpdaterUsage();
        return 2;
    }
    const UpdateArguments& words = parsed.value;
    const std::filesystem::path runDirectory =
        words.runDirectory.empty() ? environment.ownDirectory : words.runDirectory;

    out << "正在更新 " << words.name << ": " << words.ownVersion << " -> " << words.newVersion
        << "\n";
    out.flush();
    if (!IsDownloadAddress(words.address)) {
        return Fail(
            err, "下载地址必须以 http:// 或 https:// 开头 (not an http address): " + words.address);
    }
    if (runDirectory.empty()) return Fail(err, "找不到运行目录 (no run directory)");
    const TargetExecutable target = FindTargetExecutable(runDirectory, words.exeName);
    if (!target.ok) return Fail(err, target.error);

    // Opened before the download, so a directory we cannot write to fails at once.
    ReplacementFile file;
    if (!file.Create(target.path)) return Fail(err, FileError(file, target.path));

    out << "下载 " << words.address << "\n";
    out.flush();
    ProgressDisplay progress(out, environment.progressBar);
    const HttpDownload download(environment.download);
    const DownloadResult fetched = download.Fetch(
        words.address, [&file](std::span<const unsigned char> bytes) { return file.Write(bytes); },
        &progress);
    progress.Finish();
    if (!fetched.ok) {
        const std::string why = fetched.writeFailed ? FileError(file, target.path) : fetched.error;
        file.Discard();
        return Fail(err, why);
    }
    if (!file.Commit(kExecutableMode)) return Fail(err, FileError(file, target.path));

    out << "更新完成 (updated): " << target.path.string() << " 已更新至 " << words.newVersion
        << "\n";
    out.flush();
    return 0;
}

}  // namespace veltra
