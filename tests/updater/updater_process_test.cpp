// The real updater binary run as a child process, the way the program starts it.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "tests/support/temp_dir.h"
#include "tests/updater/download_server.h"
#include "tests/updater/test_payload.h"
#include "updater/carried_updater.h"

namespace veltra {
namespace {

using test::Listing;
using test::Mode;
using test::ReadBytes;

constexpr char kProgram[] = "Veltra吉林快3平刷和值大小";
constexpr uid_t kNobody = 65534;
constexpr int kCouldNotStart = 127;

struct ChildRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs program with args as separate argv words, no shell; its output goes to files
// in logDirectory. asUser drops root's rights in the child first.
ChildRun RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                  const std::filesystem::path& logDirectory, std::optional<uid_t> asUser = {}) {
    const std::string outPath = (logDirectory / "stdout").string();
    const std::string errPath = (logDirectory / "stderr").string();
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    const int outFd = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int errFd = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int inFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ChildRun run;
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls until exec: the test process has threads.
        dup2(inFd, STDIN_FILENO);
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        if (asUser &&
            (setgroups(0, nullptr) != 0 || setgid(*asUser) != 0 || setuid(*asUser) != 0)) {
            _exit(kCouldNotStart);
        }
        execv(argv[0], argv.data());
        _exit(kCouldNotStart);
    }
    close(outFd);
    close(errFd);
    close(inFd);
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.code = WEXITSTATUS(status);
    }
    run.out = ReadBytes(outPath);
    run.err = ReadBytes(errPath);
    return run;
}

class UpdaterProcessTest : public ::testing::Test {
  protected:
    const std::string payload = test::NewProgramBytes();
    const std::string oldBytes = "#!/bin/sh\necho old program\n";
    test::TempDir temp;
    test::DownloadServer server{payload};
    std::filesystem::path app = temp.Path() / "app";
    std::filesystem::path logs = temp.Path() / "logs";
    std::filesystem::path program = app / kProgram;
    std::filesystem::path updater = app / "更新器";

    void SetUp() override {
        std::filesystem::create_directories(app);
        std::filesystem::create_directories(logs);
        temp.Write("app/" + std::string(kProgram), oldBytes);
        chmod(program.c_str(), 0755);
        ASSERT_TRUE(WriteCarriedUpdater(updater));
    }

    // The five words the program starts its updater with.
    std::vector<std::string> Words(const std::string& address) const {
        return {kProgram, "1.41", "1.42", address, std::string(kProgram) + ".exe"};
    }
};

TEST_F(UpdaterProcessTest, CarriedUpdaterReplacesTheProgramBesideIt) {
    // No --dir: the updater works in its own directory, and the program's ".exe"
    // name finds the executable without a suffix.
    const ChildRun run = RunChild(updater, Words(server.Url("/program")), logs);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadBytes(program), payload);
    EXPECT_EQ(Mode(program), 0755u);
    EXPECT_EQ(Listing(app), (std::set<std::string>{kProgram, "更新器"}));
    EXPECT_NE(run.out.find("已下载 100%"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("更新完成"), std::string::npos) << run.out;
}

TEST_F(UpdaterProcessTest, HttpErrorExitsNonZeroAndSaysWhy) {
    const ChildRun run = RunChild(updater, Words(server.Url("/missing")), logs);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("HTTP 404"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(program), oldBytes);
    EXPECT_EQ(Listing(app), (std::set<std::string>{kProgram, "更新器"}));
}

TEST_F(UpdaterProcessTest, ReadOnlyDirectoryLeavesTheProgramUntouched) {
    // Root writes through any mode bits, so as root the updater runs as nobody.
    std::optional<uid_t> asUser;
    if (geteuid() == 0) {
        asUser = kNobody;
        chmod(temp.Path().c_str(), 0755);
        chmod(logs.c_str(), 0777);
    }
    chmod(app.c_str(), 0555);
    const ChildRun run = RunChild(updater, Words(server.Url("/program")), logs, asUser);
    chmod(app.c_str(), 0755);
    if (run.code == kCouldNotStart) GTEST_SKIP() << "cannot run the updater as another user";

    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("没有写入权限"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(program), oldBytes);
    EXPECT_EQ(Mode(program), 0755u);
    EXPECT_EQ(Listing(app), (std::set<std::string>{kProgram, "更新器"}));
    EXPECT_EQ(server.Requests(), 0) << "an unwritable directory is found before downloading";
}

}  // namespace
}  // namespace veltra
