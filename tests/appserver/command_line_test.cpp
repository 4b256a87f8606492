#include "appserver/command_line.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(CommandLine, DefaultsAndEveryOption) {
    const CommandLine::Result defaults = CommandLine::Parse({});
    ASSERT_TRUE(defaults.ok);
    EXPECT_EQ(defaults.options.listenAddress, "127.0.0.1");
    EXPECT_EQ(defaults.options.mainPort, 19300);
    EXPECT_EQ(defaults.options.fallbackPort, 19200);
    EXPECT_EQ(defaults.options.version, "1.41");
    EXPECT_EQ(defaults.options.interval, 0);
    EXPECT_FALSE(defaults.options.now);

    const CommandLine::Result all = CommandLine::Parse({"--listen",        "0.0.0.0",
                                                        "--main-port",     "0",
                                                        "--fallback-port", "0",
                                                        "--seed",          "-9",
                                                        "--interval",      "5",
                                                        "--version",       "1.5",
                                                        "--fault",         "refuse:init=2",
                                                        "--fault",         "empty",
                                                        "--now",           "1704067200",
                                                        "--secret",        "s",
                                                        "--update-file",   "u.bin",
                                                        "--threads",       "3"});
    ASSERT_TRUE(all.ok) << all.error;
    const AppServerOptions& o = all.options;
    EXPECT_EQ(o.listenAddress, "0.0.0.0");
    EXPECT_EQ(o.mainPort, 0);
    EXPECT_EQ(o.fallbackPort, 0);
    EXPECT_EQ(o.seed, -9);
    EXPECT_EQ(o.interval, 5);
    EXPECT_EQ(o.version, "1.5");
    EXPECT_EQ(o.faults, (std::vector<std::string>{"refuse:init=2", "empty"}));
    EXPECT_EQ(o.now, 1704067200);
    EXPECT_EQ(o.secret, "s");
    EXPECT_EQ(o.updatePath, "u.bin");
    EXPECT_EQ(o.threads, 3);
    EXPECT_TRUE(CommandLine::Parse({"--history", "h.txt", "--help"}).options.help);
}

TEST(CommandLine, RefusesWhatItCannotServe) {
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {{"--main-port"}, "--main-port needs a value"},
        {{"--main-port", "70000"}, "bad value for --main-port"},
        {{"--fallback-port", "-1"}, "bad value for --fallback-port"},
        {{"--main-port", "19300", "--fallback-port", "19300"}, "must differ"},
        {{"--interval", "0"}, "bad value for --interval"},
        {{"--interval", "5s"}, "bad value for --interval"},
        {{"--history", "h.txt", "--interval", "5"}, "exclude each other"},
        {{"--version", ""}, "bad value for --version"},
        {{"--version", "1.5 beta"}, "no white space"},
        {{"--fault", "refuse:nothing"}, "unknown target"},
        {{"--seed", "1e3"}, "bad value for --seed"},
        {{"--now", "yesterday"}, "bad value for --now"},
        {{"--colour", "red"}, "unknown option --colour"},
        {{"stray"}, "unexpected argument stray"},
    };
    for (const Case& c : cases) {
        const CommandLine::Result result = CommandLine::Parse(c.args);
        EXPECT_FALSE(result.ok) << c.error;
        EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
    }
    EXPECT_TRUE(CommandLine::Parse({"--main-port", "0", "--fallback-port", "0"}).ok);
}

}  // namespace
}  // namespace veltra
