// The settings file under a killed process: a program killed at any moment of a
// settings write leaves the old file or the new one, whole, and the next run reads it
// and writes on as if nothing had happened.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/settings_file.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

constexpr const char* kProduct = "Veltra吉林快3平刷和值大小";

// A temporary file a killed write may leave: ".配置.ini.XXXXXXXX.tmp".
bool IsLeftTemporary(const std::string& name) {
    return name.starts_with(".配置.ini.") && name.ends_with(".tmp");
}

// A child process switches the period setting between 1 and 2 as fast as it can,
// through the program's own write path, and reports every finished write on a pipe.
// The parent kills it after a varying number of writes, so the kill lands at ever
// other moments of a write: before, during and after the temporary file, the sync
// and the rename. The first rounds start without a file, the kill may then hit the
// very first write.
TEST(SettingsKill, AWriteKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
    test::TempDir dir;
    const std::filesystem::path path = dir.Path() / "配置.ini";
    const SettingsFile settings(path, kProduct);
    ASSERT_TRUE(settings.WriteSetting("公式期数", "2"));
    const std::string two = test::FileBytes(path);
    ASSERT_TRUE(settings.WriteSetting("公式期数", "1"));
    const std::string one = test::FileBytes(path);
    ASSERT_NE(one, two);

    for (int round = 0; round < 60; ++round) {
        const bool fresh = round < 10;
        if (fresh) std::filesystem::remove(path);
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(progress[0]);
            for (int i = 0;; ++i) {
                settings.WriteSetting("公式期数", i % 2 == 0 ? "2" : "1");
                if (write(progress[1], "w", 1) != 1) _exit(1);
            }
        }
        close(progress[1]);
        const int finished = fresh ? round % 2 : round % 7 + 1;
        char mark;
        for (int i = 0; i < finished; ++i) ASSERT_EQ(read(progress[0], &mark, 1), 1);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(progress[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << round;

        if (std::filesystem::exists(path)) {
            const std::string left = test::FileBytes(path);
            EXPECT_TRUE(left == one || left == two)
                << "round " << round << ": torn file, " << left.size() << " bytes";
            const std::string value = settings.ReadSetting("公式期数", "3");
            EXPECT_TRUE(value == "1" || value == "2") << round;
        } else {
            EXPECT_TRUE(fresh) << "round " << round << ": the settings file vanished";
            EXPECT_EQ(settings.ReadSetting("公式期数", "3"), "3");
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "配置.ini" || IsLeftTemporary(name)) << name;
        }
    }
    // The next run writes and reads as usual; files a killed write left do not count.
    ASSERT_TRUE(settings.WriteSetting("公式期数", "2"));
    EXPECT_EQ(test::FileBytes(path), two);
    EXPECT_EQ(settings.ReadSetting("公式期数", "3"), "2");
}

}  // namespace
}  // namespace veltra
