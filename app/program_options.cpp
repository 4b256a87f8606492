// Command line parsing.
#include "app/program_options.h"

#include "platform/process_launcher.h"

namespace veltra {

ProgramOptionsResult ParseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptionsResult result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--headless") {
            result.options.headless = true;
        } else if (arg == "--accept-update") {
            result.options.acceptUpdate = true;
        } else if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (arg == "--server") {
            if (i + 1 >= args.size()) {
                result.error = "--server needs an address";
                return result;
            }
            result.options.server = MainEndpointFor(args[++i]);
            if (result.options.server.empty()) {
                result.error = "--server needs an http or https address, not " + args[i];
                return result;
            }
        } else {
            result.error = "unknown option " + arg;
            return result;
        }
    }
    result.ok = true;
    return result;
}

std::string MainEndpointFor(const std::string& server) {
    if (!IsWebAddress(server)) return {};
    const size_t hostStart = server.find("://") + 3;
    if (server.find('/', hostStart) == std::string::npos) return server + "/appinit.php";
    return server;
}

}  // namespace veltra
