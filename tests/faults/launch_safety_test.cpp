// The two places where the program starts another program, under hostile input: the
// advert box hands only http(s) addresses to the URL opener, and an accepted update
// starts only the updater this program carries.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "app/main_window_design.h"
#include "tests/faults/program_under_test.h"
#include "tests/support/file_bytes.h"
#include "updater/carried_updater.h"

namespace veltra {
namespace {

using test::k1005;
using test::ProgramInstance;
using test::ProgramUnderTest;

std::string Carried() {
    const std::span<const unsigned char> bytes = CarriedUpdater();
    return std::string(bytes.begin(), bytes.end());
}

// Whatever address the server names for the advert box, a click in the box after
// start-up reaches the URL opener only as one http(s) word, and the box stays put.
// The address is put in the box where start-up loads the advert page, as if the
// server had sent it.
TEST(LaunchSafety, TheAdvertBoxHandsOnlyWebAddressesToTheUrlOpener) {
    ProgramUnderTest fixture;
    ASSERT_TRUE(fixture.Serve({}, k1005));
    fixture.clock.now = k1005;
    struct Case {
        const char* address;
        bool opened;
    } cases[] = {
        {"https://example.cn/ad?a=1&b=$(id)", true},
        {"file:///etc/passwd", false},
        {"/usr/bin/xterm", false},
        {"--help", false},
        {"http://a.cn/ -e sh", false},
        {"javascript:alert(1)", false},
    };
    for (const Case& c : cases) {
        ProgramInstance program;
        program.windows.SetPendingEventHook([&] {
            const bool loading =
                program.application && !program.application->State().startupComplete;
            if (loading &&
                !program.windows.BrowserAddress(kMainWindow, control::kAdvertBox).empty()) {
                program.windows.SetBrowserAddress(kMainWindow, control::kAdvertBox, c.address);
            }
        });
        ASSERT_TRUE(fixture.Start(program)) << c.address;
        ASSERT_EQ(program.windows.BrowserAddress(kMainWindow, control::kAdvertBox), c.address);
        EXPECT_FALSE(program.windows.FollowLink(kMainWindow, control::kAdvertBox, "http://x/"))
            << c.address;
        EXPECT_EQ(program.windows.BrowserAddress(kMainWindow, control::kAdvertBox), c.address);
        if (c.opened) {
            ASSERT_EQ(program.launcher.launches.size(), 1u) << c.address;
            EXPECT_EQ(program.launcher.launches[0].first, "xdg-open");
            EXPECT_EQ(program.launcher.launches[0].second, std::vector<std::string>{c.address});
        } else {
            EXPECT_TRUE(program.launcher.launches.empty()) << c.address;
        }
    }
}

class UpdaterLaunch : public ::testing::Test {
  protected:
    UpdaterLaunch() { EXPECT_TRUE(fixture.Serve({"--version", "1.5"}, k1005)); }

    // Starts the program, runs plant when the update offer shows (after start-up has
    // removed any old updater) and accepts the offer.
    void AcceptUpdate(ProgramInstance& program, const std::function<void()>& plant) {
        fixture.clock.now = k1005;
        program.windows.SetMessageResponder([&](const std::string&, MessageButtons) {
            if (plant) plant();
            return MessageResult::Ok;
        });
        EXPECT_FALSE(fixture.Start(program));
        EXPECT_EQ(program.exitCode, 0);
    }
    std::filesystem::path Updater() const { return fixture.dir.Path() / "更新器"; }

    ProgramUnderTest fixture;
};

// A file put where the updater goes (a script, or a link to another program) is
// replaced by the carried updater before anything starts; the link's target stays.
TEST_F(UpdaterLaunch, AFilePutInTheUpdatersPlaceIsReplacedNotStarted) {
    const std::filesystem::path victim = fixture.dir.Write("victim", "#!/bin/sh\necho owned\n");
    for (const bool link : {false, true}) {
        ProgramInstance program;
        AcceptUpdate(program, [&] {
            std::filesystem::remove(Updater());
            if (link) {
                std::filesystem::create_symlink(victim, Updater());
            } else {
                fixture.dir.Write("更新器", "#!/bin/sh\necho owned\n");
            }
        });
        ASSERT_EQ(program.launcher.launches.size(), 1u) << link;
        EXPECT_EQ(program.launcher.launches[0].first, Updater().string());
        EXPECT_EQ(program.launcher.launches[0].second.size(), 5u);
        EXPECT_FALSE(std::filesystem::is_symlink(Updater())) << link;
        EXPECT_EQ(test::FileBytes(Updater()), Carried()) << link;
        EXPECT_EQ(test::FileBytes(victim), "#!/bin/sh\necho owned\n");
    }
}

// When the carried updater cannot be put in place, nothing is started at all.
TEST_F(UpdaterLaunch, NothingStartsWhenTheUpdaterCannotBeWritten) {
    ProgramInstance program;
    AcceptUpdate(program, [&] { fixture.dir.Write("更新器/in-the-way", "x"); });
    EXPECT_TRUE(program.launcher.launches.empty());
    EXPECT_TRUE(std::filesystem::is_directory(Updater()));
}

// An executable directory given as a relative path still starts the updater by its
// absolute path: a bare or relative name could be found on PATH instead.
TEST_F(UpdaterLaunch, TheUpdaterStartsByItsAbsolutePath) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(fixture.dir.Path());
    const std::filesystem::path expected = std::filesystem::current_path() / "bin" / "更新器";
    std::filesystem::create_directory("bin");
    fixture.environment.executableDirectory = "bin";
    ProgramInstance program;
    AcceptUpdate(program, nullptr);
    std::filesystem::current_path(before);
    ASSERT_EQ(program.launcher.launches.size(), 1u);
    EXPECT_EQ(program.launcher.launches[0].first, expected.string());
    EXPECT_EQ(test::FileBytes(expected), Carried());
}

}  // namespace
}  // namespace veltra
