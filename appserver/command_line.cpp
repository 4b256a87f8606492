// Option parsing by hand: a handful of "--name value" pairs.
#include "appserver/command_line.h"

#include <algorithm>
#include <charconv>

#include "appserver/fault_plan.h"

namespace veltra {
namespace {

std::optional<int64_t> WholeNumber(const std::string& text, int64_t min, int64_t max) {
    int64_t value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(begin, end, value);
    if (text.empty() || ec != std::errc() || stop != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

CommandLine::Result CommandLine::Parse(const std::vector<std::string>& args) {
    Result result;
    AppServerOptions& options = result.options;
    const auto fail = [&](const std::string& why) {
        result.error = why;
        return result;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            return fail(name.rfind("--", 0) == 0 ? name + " needs a value"
                                                 : "unexpected argument " + name);
        }
        const std::string& value = args[++i];
        const auto number = [&](int64_t min, int64_t max) { return WholeNumber(value, min, max); };
        const std::string bad = "bad value for " + name + ": \"" + value + "\"";
        if (name == "--listen") {
            if (value.empty()) return fail(bad);
            options.listenAddress = value;
        } else if (name == "--main-port" || name == "--fallback-port") {
            const auto port = number(0, 65535);
            if (!port) return fail(bad);
            (name == "--main-port" ? options.mainPort : options.fallbackPort) =
                static_cast<int>(*port);
        } else if (name == "--seed") {
            const auto seed = number(INT64_MIN, INT64_MAX);
            if (!seed) return fail(bad);
            options.seed = *seed;
        } else if (name == "--interval") {
            const auto interval = number(1, 86400);
            if (!interval) return fail(bad + " (1..86400 seconds)");
            options.interval = static_cast<int>(*interval);
        } else if (name == "--history") {
            if (value.empty()) return fail(bad);
            options.historyPath = value;
        } else if (name == "--version") {
            const bool blank = std::any_of(value.begin(), value.end(), [](char c) {
                return c == ' ' || c == '\t' || c == '\r' || c == '\n';
            });
            if (value.empty() || blank) return fail(bad + " (no white space)");
            options.version = value;
        } else if (name == "--fault") {
            FaultPlan check;
            std::string why;
            if (!check.Add(value, &why)) return fail(why);
            options.faults.push_back(value);
        } else if (name == "--now") {
            const auto now = number(0, 253402300799);
            if (!now) return fail(bad + " (Unix seconds)");
            options.now = *now;
        } else if (name == "--secret") {
            if (value.empty()) return fail(bad);
            options.secret = value;
        } else if (name == "--update-file") {
            if (value.empty()) return fail(bad);
            options.updatePath = value;
        } else if (name == "--threads") {
            const auto threads = number(1, 256);
            if (!threads) return fail(bad + " (1..256)");
            options.threads = static_cast<int>(*threads);
        } else {
            return fail("unknown option " + name);
        }
    }
    if (options.mainPort != 0 && options.mainPort == options.fallbackPort) {
        return fail("the main and the fallback port must differ");
    }
    if (!options.historyPath.empty() && options.interval > 0) {
        return fail("--history and --interval exclude each other");
    }
    result.ok = true;
    return result;
}

std::string CommandLine::Help() {
    return "Usage: appserver [OPTION]...\n"
           "The local application server of Veltra吉林快3: initialisation, draw data,\n"
           "newest period, advert page and update download over the program's protocol.\n"
           "\n"
           "  --listen ADDR         address to listen on (default 127.0.0.1)\n"
           "  --main-port N         main port, initialisation at /appinit.php (default 19300;\n"
           "                        0 picks a free port)\n"
           "  --fallback-port N     fallback port, initialisation at / (default 19200)\n"
           "  --seed N              seed of the simulated draws (default 1)\n"
           "  --interval S          fast demo day: a draw every S seconds, same numbering\n"
           "  --history FILE        serve the draws of a history file (rows\n"
           "                        tag|+|period|+|draw time|+|numbers|+|seed, newest first)\n"
           "  --version TEXT        newest program version offered (default 1.41)\n"
           "  --update-file FILE    bytes served as the update download\n"
           "  --secret TEXT         secret of the handshake keys; give instances behind one\n"
           "                        load balancer the same (default: random)\n"
           "  --now T               freeze the server's clock at Unix time T (for tests);\n"
           "                        POST now=T or advance=S to /clock moves it\n"
           "  --threads N           worker threads per port (default 8)\n" +
           FaultPlan::Help() +
           "  --help                show this text\n"
           "\n"
           "Both ports serve the initialisation (main: /appinit.php, fallback: /), the\n"
           "data functions at /draw.php, the newest period at /newphase.php, the advert\n"
           "page at /advert.html, the update at /update.bin and request counts at /stats.\n"
           "Once both ports listen, the first line on standard output is\n"
           "  listening main=http://ADDR:PORT/appinit.php fallback=http://ADDR:PORT/\n"
           "SIGINT or SIGTERM stops the server.\n";
}

}  // namespace veltra
