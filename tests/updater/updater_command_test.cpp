#include "updater/updater_command.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>

#include "tests/support/temp_dir.h"
#include "tests/updater/download_server.h"
#include "tests/updater/test_payload.h"

namespace veltra {
namespace {

using test::Listing;
using test::Mode;
using test::ReadBytes;

struct CommandRun {
    int code;
    std::string out;
    std::string err;
};

class UpdaterCommandTest : public ::testing::Test {
  protected:
    const std::string payload = test::NewProgramBytes();
    const std::string oldBytes = "#!/bin/sh\necho old program\n";
    test::TempDir temp;
    test::DownloadServer server{payload};
    UpdaterEnvironment environment;

    // The program to replace, with a mode that differs from what the updater sets.
    std::filesystem::path AddProgram(const std::string& name) {
        const std::filesystem::path path = temp.Write(name, oldBytes);
        chmod(path.c_str(), 0750);
        return path;
    }

    CommandRun Update(const std::string& address, const std::string& exeName) {
        std::ostringstream out, err;
        const int code = RunUpdaterCommand(
            {"--dir", temp.Path().string(), "程序", "1.41", "1.42", address, exeName}, environment,
            out, err);
        return {code, out.str(), err.str()};
    }

    void ExpectUntouched(const std::filesystem::path& program) {
        EXPECT_EQ(ReadBytes(program), oldBytes);
        EXPECT_EQ(Mode(program), 0750u);
        EXPECT_EQ(Listing(temp.Path()), std::set<std::string>{program.filename().string()})
            << "a temporary file was left behind";
    }
};

TEST_F(UpdaterCommandTest, ReplacesTheProgramWithTheDownload) {
    struct Case {
        const char* path;
        const char* why;
    };
    const Case cases[] = {
        {"/program", "with Content-Length"},
        {"/chunked", "size unknown in advance"},
        {"/redirect", "after a redirect"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::filesystem::path program = AddProgram("prog");
        const CommandRun run = Update(server.Url(c.path), "prog");
        EXPECT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(ReadBytes(program), payload);
        EXPECT_EQ(Mode(program), 0755u);
        EXPECT_EQ(Listing(temp.Path()), std::set<std::string>{"prog"});
        EXPECT_NE(run.out.find("更新完成"), std::string::npos) << run.out;
    }
}

TEST_F(UpdaterCommandTest, ProgressIsPrintedAsLinesOffATerminal) {
    AddProgram("prog");
    const CommandRun run = Update(server.Url("/program"), "prog");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
    const size_t done = run.out.find("已下载 100% (0.3 MB / 0.3 MB)\n");
    EXPECT_NE(done, std::string::npos) << run.out;
    EXPECT_LT(done, run.out.find("更新完成"));
}

TEST_F(UpdaterCommandTest, ExeSuffixFallsBackToTheBareName) {
    struct Case {
        std::vector<std::string> present;
        std::string exeName;
        std::string replaced;
    };
    const Case cases[] = {
        {{"prog"}, "prog.exe", "prog"},
        {{"prog", "prog.exe"}, "prog.exe", "prog.exe"},
        {{"prog", "prog.exe"}, "prog", "prog"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exeName + " -> " + c.replaced);
        test::TempDir dir;
        for (const std::string& name : c.present) dir.Write(name, oldBytes);
        std::ostringstream out, err;
        const int code = RunUpdaterCommand({"--dir", dir.Path().string(), "程序", "1.41", "1.42",
                                            server.Url("/program"), c.exeName},
                                           environment, out, err);
        EXPECT_EQ(code, 0) << err.str();
        for (const std::string& name : c.present) {
            EXPECT_EQ(ReadBytes(dir.Path() / name), name == c.replaced ? payload : oldBytes)
                << name;
        }
        EXPECT_EQ(Listing(dir.Path()).size(), c.present.size());
    }
}

TEST_F(UpdaterCommandTest, FailedDownloadLeavesTheProgramUntouched) {
    struct Case {
        std::string address;
        std::string reason;  // expected in the message
    };
    const Case cases[] = {
        {server.Url("/missing"), "HTTP 404"},     {server.Url("/empty"), "下载的文件是空的"},
        {server.Url("/truncated"), "下载不完整"}, {server.UnreachableUrl(), "无法连接下载地址"},
        {server.Url("/loop"), "重定向次数过多"},  {server.Url("/to-file"), "不支持的协议"},
        {"ftp://127.0.0.1/program", "http://"},   {"file:///etc/passwd", "http://"},
    };
    const std::filesystem::path program = AddProgram("prog");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const CommandRun run = Update(c.address, "prog");
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("原程序未改动"), std::string::npos) << run.err;
        EXPECT_EQ(run.out.find("更新完成"), std::string::npos) << run.out;
        ExpectUntouched(program);
    }
}

TEST_F(UpdaterCommandTest, StalledDownloadTimesOut) {
    const std::filesystem::path program = AddProgram("prog");
    environment.download.transferTimeout = std::chrono::milliseconds(300);
    const CommandRun run = Update(server.Url("/stall"), "prog");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("下载超时"), std::string::npos) << run.err;
    ExpectUntouched(program);
}

TEST_F(UpdaterCommandTest, CancelStopsTheDownloadAndRemovesThePartialFile) {
    const std::filesystem::path program = AddProgram("prog");
    volatile std::sig_atomic_t cancel = 0;
    environment.download.cancel = &cancel;
    size_t filesDuringDownload = 0;
    server.OnStall([&] {
        filesDuringDownload = Listing(temp.Path()).size();
        cancel = 1;
    });
    const CommandRun run = Update(server.Url("/stall"), "prog");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("已取消"), std::string::npos) << run.err;
    EXPECT_EQ(filesDuringDownload, 2u) << "the download goes to a file of its own";
    ExpectUntouched(program);
}

TEST_F(UpdaterCommandTest, RefusesNamesOutsideTheRunDirectory) {
    // The name comes from another program's command line: it must not reach out of
    // the run directory, whatever it says.
    const std::filesystem::path program = AddProgram("prog");
    for (const std::string& name :
         {std::string("../prog"), std::string("sub/prog"), temp.Path().string() + "/prog",
          std::string(".."), std::string("."), std::string(""), std::string("a\\prog")}) {
        SCOPED_TRACE(name);
        const CommandRun run = Update(server.Url("/program"), name);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("不含路径的文件名"), std::string::npos) << run.err;
        ExpectUntouched(program);
    }
    EXPECT_EQ(server.Requests(), 0) << "nothing is downloaded for a refused name";
}

TEST_F(UpdaterCommandTest, MissingProgramIsAnErrorAndNothingIsCreated) {
    for (const char* name : {"prog", "prog.exe"}) {
        const CommandRun run = Update(server.Url("/program"), name);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("找不到要更新的程序"), std::string::npos) << run.err;
    }
    std::filesystem::create_directory(temp.Path() / "dir");
    const CommandRun run = Update(server.Url("/program"), "dir");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("不是普通文件"), std::string::npos) << run.err;
    EXPECT_EQ(Listing(temp.Path()), std::set<std::string>{"dir"});
    EXPECT_EQ(server.Requests(), 0);
}

TEST_F(UpdaterCommandTest, WrongCommandLineShowsTheUsage) {
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"程序", "1.41", "1.42", "http://127.0.0.1/"},
        {"程序", "1.41", "1.42", "http://127.0.0.1/", "prog", "extra"},
        {"--dir"},
        {"--dir", "", "程序", "1.41", "1.42", "http://127.0.0.1/", "prog"},
    };
    for (const auto& line : lines) {
        std::ostringstream out, err;
        EXPECT_EQ(RunUpdaterCommand(line, environment, out, err), 2);
        EXPECT_NE(err.str().find("用法"), std::string::npos) << err.str();
    }
}

}  // namespace
}  // namespace veltra
