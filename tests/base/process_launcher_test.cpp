#include "platform/process_launcher.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

TEST(ProcessLauncher, OnlyWebAddressesReachTheUrlOpener) {
    struct Case {
        const char* url;
        bool accepted;
    } cases[] = {
        {"http://127.0.0.1:19300/advert.html", true},
        {"HTTPS://example.cn/a?b=c#d", true},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"-x http://a", false},
        {"http://a b", false},
        {"http://a\nrm -rf /", false},
        {"http://", false},
        {"http:///path", false},
        {"", false},
        {"ftp://host/file", false},
        {"http://a\x7f", false},
    };
    struct Recorder : ProcessLauncher {
        bool Launch(const std::string& program, const std::vector<std::string>& args) override {
            launches.push_back(program);
            for (const auto& a : args) launches.push_back(a);
            return true;
        }
        std::vector<std::string> launches;
    };
    for (const Case& c : cases) {
        Recorder recorder;
        EXPECT_EQ(OpenWebAddress(recorder, c.url), c.accepted) << c.url;
        if (c.accepted) {
            EXPECT_EQ(recorder.launches, (std::vector<std::string>{"xdg-open", c.url}));
        } else {
            EXPECT_TRUE(recorder.launches.empty());
        }
    }
}

TEST(ProcessLauncher, StartsProgramsWithSeparateWordsAndReportsFailure) {
    test::TempDir dir;
    const std::string fifo = (dir.Path() / "words").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    SystemProcessLauncher launcher;
    // The words reach the program unsplit and unexpanded: no shell reads them.
    ASSERT_TRUE(launcher.Launch(
        "/bin/sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", fifo, "a b", "$HOME", "; rm"}));
    std::ifstream in(fifo);  // blocks until the detached program opens the pipe
    std::string words((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(words, "a b|$HOME|; rm|");
    EXPECT_FALSE(launcher.Launch((dir.Path() / "no-such-program").string(), {}));
}

}  // namespace
}  // namespace veltra
