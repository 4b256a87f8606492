#include "platform/file_contents.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "tests/support/directory_entries.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

namespace fs = std::filesystem;

TEST(FileContents, ReadsTellMissingFromUnreadable) {
    test::TempDir dir;
    dir.Write("full", "a\r\nb");
    dir.Write("empty", "");
    fs::create_directory(dir.Path() / "folder");
    struct Case {
        const char* name;
        FileReadStatus status;
        std::string bytes;
    };
    const Case cases[] = {
        {"full", FileReadStatus::Ok, "a\r\nb"},      {"empty", FileReadStatus::Ok, ""},
        {"absent", FileReadStatus::Missing, ""},     {"absent/inner", FileReadStatus::Missing, ""},
        {"full/inner", FileReadStatus::Missing, ""}, {"folder", FileReadStatus::Failed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileReadResult result = ReadFileContents(dir.Path() / c.name);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.bytes, c.bytes);
    }
    EXPECT_EQ(test::DirectoryEntries(dir.Path()),
              (std::vector<std::string>{"empty", "folder", "full"}));
}

TEST(FileContents, ReplacesAndCreatesWithoutLeavingTemporaryFiles) {
    test::TempDir dir;
    const fs::path file = dir.Path() / "配置.ini";
    ASSERT_TRUE(ReplaceFileContents(file, "first"));
    EXPECT_EQ(test::FileBytes(file), "first");
    ASSERT_TRUE(ReplaceFileContents(file, "second, longer"));
    ASSERT_TRUE(ReplaceFileContents(file, "3"));
    EXPECT_EQ(test::FileBytes(file), "3");
    EXPECT_EQ(test::DirectoryEntries(dir.Path()), std::vector<std::string>{"配置.ini"});
}

TEST(FileContents, KeepsPermissionBitsAndSymbolicLinks) {
    test::TempDir dir;
    const fs::path real = dir.Write("real.ini", "old");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    const fs::path link = dir.Path() / "link.ini";
    fs::create_symlink("real.ini", link);

    ASSERT_TRUE(ReplaceFileContents(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::FileBytes(real), "new");
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(test::DirectoryEntries(dir.Path()),
              (std::vector<std::string>{"link.ini", "real.ini"}));
}

// Just before the rename the new content is complete in a temporary file beside the
// target, while the target still holds the whole old content: a crash at any point
// leaves one of the two whole.
TEST(FileContents, NewContentIsCompleteBeforeItReplacesTheOld) {
    test::TempDir dir;
    const fs::path file = dir.Write("配置.ini", "old content");
    int calls = 0;
    const bool ok = ReplaceFileContents(file, "new content", [&](const fs::path& temporary) {
        ++calls;
        EXPECT_EQ(temporary.parent_path(), file.parent_path());
        EXPECT_EQ(test::FileBytes(temporary), "new content");
        EXPECT_EQ(test::FileBytes(file), "old content");
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(test::FileBytes(file), "new content");
}

TEST(FileContents, ProcessKilledBeforeTheRenameLeavesTheOldFileWhole) {
    test::TempDir dir;
    const fs::path file = dir.Write("配置.ini", "old content");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ReplaceFileContents(file, "new content", [](const fs::path&) { raise(SIGKILL); });
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(test::FileBytes(file), "old content");

    // The next write is not disturbed by the temporary file the killed process left.
    ASSERT_TRUE(ReplaceFileContents(file, "next"));
    EXPECT_EQ(test::FileBytes(file), "next");
}

TEST(FileContents, FailedReplacementLeavesOldFileAndNoTemporary) {
    test::TempDir dir;
    const fs::path file = dir.Write("配置.ini", "old content");
    fs::create_directory(dir.Path() / "folder");
    dir.Write("folder/inside", "kept");

    // The rename fails: the temporary file is gone by then.
    EXPECT_FALSE(
        ReplaceFileContents(file, "new", [](const fs::path& temporary) { fs::remove(temporary); }));
    EXPECT_EQ(test::FileBytes(file), "old content");

    // The target is a directory, or its directory does not exist.
    EXPECT_FALSE(ReplaceFileContents(dir.Path() / "folder", "new"));
    EXPECT_EQ(test::FileBytes(dir.Path() / "folder/inside"), "kept");
    EXPECT_FALSE(ReplaceFileContents(dir.Path() / "absent/配置.ini", "new"));
    EXPECT_FALSE(ReplaceFileContents(dir.Path() / "配置.ini/inner", "new"));

    EXPECT_EQ(test::DirectoryEntries(dir.Path()), (std::vector<std::string>{"folder", "配置.ini"}));
}

TEST(FileContents, UnwritableDirectoryFailsWithoutDamage) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    test::TempDir dir;
    const fs::path file = dir.Write("配置.ini", "old content");
    ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
    EXPECT_FALSE(ReplaceFileContents(file, "new"));
    ASSERT_EQ(chmod(dir.Path().c_str(), 0755), 0);
    EXPECT_EQ(test::FileBytes(file), "old content");
    EXPECT_EQ(test::DirectoryEntries(dir.Path()), std::vector<std::string>{"配置.ini"});
}

}  // namespace
}  // namespace veltra
