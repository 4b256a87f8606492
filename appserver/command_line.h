// The server's command line: options, their checks and the help text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltra {

struct AppServerOptions {
    std::string listenAddress = "127.0.0.1";
    int mainPort = 19300;
    int fallbackPort = 19200;
    int64_t seed = 1;
    int interval = 0;  // 0: the lottery's real schedule
    std::string historyPath;
    std::string version = "1.41";
    std::vector<std::string> faults;
    std::optional<int64_t> now;  // a frozen clock at these Unix seconds
    std::string secret;          // empty: a random one
    std::string updatePath;      // empty: the built-in update
    int threads = 8;
    bool help = false;
};

class CommandLine {
  public:
    struct Result {
        bool ok = false;
        AppServerOptions options;
        std::string error;
    };

    // Reads the arguments after the program name. Fails on an unknown option, a
    // missing or malformed value, equal non-zero ports, --history with --interval, a
    // version text that is empty or holds white space, or a malformed fault rules.
    static Result Parse(const std::vector<std::string>& args);

    static std::string Help();
};

}  // namespace veltra
