// The program's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltra {

struct ProgramOptions {
    bool headless = false;      // the terminal view even when a display is there
    bool acceptUpdate = false;  // accept an offered update without asking
    std::string server;         // replaces the main endpoint for this run
};

struct ProgramOptionsResult {
    bool ok = false;
    bool help = false;
    ProgramOptions options;
    std::string error;
};

ProgramOptionsResult ParseProgramOptions(const std::vector<std::string>& args);

// The main endpoint's address for a --server value: a bare http(s)://host[:port]
// gets the initialisation path; an address with a path is taken as it is. Empty
// when the value is no web address.
std::string MainEndpointFor(const std::string& server);

inline constexpr const char* kProgramUsage =
    "用法: Veltra吉林快3平刷和值大小 [--headless] [--server URL] [--accept-update]\n"
    "  --headless       在终端中运行（没有图形显示时自动使用）\n"
    "  --server URL     本次运行使用的应用服务器地址，例如 http://127.0.0.1:19300/appinit.php\n"
    "  --accept-update  有新版本时直接接受更新\n";

}  // namespace veltra
