// Parsing of the updater's command line.
#include "updater/update_arguments.h"

namespace veltra {

ParsedUpdateArguments ParseUpdateArguments(const std::vector<std::string>& args) {
    ParsedUpdateArguments result;
    size_t next = 0;
    if (next < args.size() && args[next] == "--dir") {
        if (next + 1 >= args.size() || args[next + 1].empty()) {
            result.error = "--dir 需要一个目录 (--dir needs a directory)";
            return result;
        }
        result.value.runDirectory = args[next + 1];
        next += 2;
    }
    if (args.size() - next != 5) {
        result.error = "需要 5 个参数，收到 " + std::to_string(args.size() - next) +
                       " 个 (expected 5 arguments)";
        return result;
    }
    UpdateArguments& value = result.value;
    value.name = args[next];
    value.ownVersion = args[next + 1];
    value.newVersion = args[next + 2];
    value.address = args[next + 3];
    value.exeName = args[next + 4];
    result.ok = true;
    return result;
}

std::string UpdaterUsage() {
    return "用法 (usage): updater [--dir DIR] NAME OWNVERSION NEWVERSION ADDRESS EXENAME\n";
}

}  // namespace veltra
