// plan-replay FILE [--periods N] [--plan TYPE] [--uptime U] [--uptime-step S] [--live]
#include "tools/plan_replay_command.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

#include "app/app_state.h"
#include "app/product_profile.h"
#include "base/text_integer.h"
#include "draws/recent_draws.h"
#include "plan/plan_book.h"
#include "plan/plan_display.h"
#include "platform/clock.h"
#include "platform/headless/headless_window_system.h"
#include "tools/draw_history_file.h"

namespace veltra {
namespace {

constexpr const char* kUsage =
    "usage: plan-replay FILE [--periods N] [--plan TYPE] [--uptime U] [--uptime-step S] [--live]\n";
constexpr int kHistoryRows = 50;

// An uptime counter whose k-th read (k = 0, 1, ...) is start + k x step, wrapped to
// 32 bits, so that a replay can be reproduced.
class SteppedUptime final : public Clock {
  public:
    SteppedUptime(int64_t startValue, int64_t stepValue) : next(startValue), step(stepValue) {}
    int64_t NowUnixSeconds() override { return 0; }
    int32_t UptimeMilliseconds() override {
        const int32_t value = WrapInt32(next);
        next = static_cast<int64_t>(static_cast<uint64_t>(next) + static_cast<uint64_t>(step));
        return value;
    }

  private:
    int64_t next;
    int64_t step;
};

// A whole-text decimal integer, or nothing.
std::optional<int64_t> StrictInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
    }
    if (text.size() - i > 18) return std::nullopt;
    return IntegerOfText(text);
}

struct Options {
    std::string file;
    int periods = 3;
    std::string planType = ThisProduct().planName;
    std::optional<int64_t> uptime;
    int64_t uptimeStep = 0;
    bool live = false;
};

// Fills options; on a wrong command line returns the message to show.
std::optional<std::string> ParseOptions(const std::vector<std::string>& args, Options& options) {
    bool haveFile = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            (void)name;
            return args[++i];
        };
        if (arg == "--live") {
            options.live = true;
        } else if (arg == "--periods" || arg == "--plan" || arg == "--uptime" ||
                   arg == "--uptime-step") {
            const std::optional<std::string> v = value(arg.c_str());
            if (!v) return arg + " needs a value";
            if (arg == "--plan") {
                options.planType = *v;
                continue;
            }
            const std::optional<int64_t> number = StrictInteger(*v);
            if (arg == "--periods") {
                if (!number || *number < 1 || *number > 3)
                    return "--periods must be 1, 2 or 3, not " + *v;
                options.periods = static_cast<int>(*number);
            } else if (!number) {
                return arg + " needs an integer, not " + *v;
            } else if (arg == "--uptime") {
                options.uptime = *number;
            } else {
                options.uptimeStep = *number;
            }
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return "unknown option " + arg;
        } else if (haveFile) {
            return "more than one FILE: " + arg;
        } else {
            options.file = arg;
            haveFile = true;
        }
    }
    if (!haveFile) return "no FILE given";
    return std::nullopt;
}

std::optional<std::string> ReadAll(const std::string& file, std::istream& in) {
    if (file == "-") return std::string(std::istreambuf_iterator<char>(in), {});
    std::ifstream stream(file, std::ios::binary);
    if (!stream) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(stream)), {});
    if (stream.bad()) return std::nullopt;
    return text;
}

}  // namespace

int RunPlanReplay(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                  std::ostream& err) {
    Options options;
    if (const std::optional<std::string> problem = ParseOptions(args, options)) {
        err << "plan-replay: " << *problem << "\n" << kUsage;
        return 2;
    }
    const std::optional<std::string> text = ReadAll(options.file, in);
    if (!text) {
        err << "plan-replay: cannot read " << options.file << "\n";
        return 1;
    }
    DrawHistory history = ParseDrawHistory(*text);
    if (!history.ok) {
        err << "plan-replay: " << options.file << ": " << history.error << "\n";
        return 1;
    }

    std::unique_ptr<Clock> uptime;
    if (options.uptime) {
        uptime = std::make_unique<SteppedUptime>(*options.uptime, options.uptimeStep);
    } else {
        uptime = std::make_unique<SystemClock>();
    }
    HeadlessWindowSystem windows;
    PlanBook book(*uptime);
    RecentDraws recentDraws;
    AppState state;
    state.periodCount = options.periods;
    const ProductProfile profile = ThisProduct();
    PlanDisplay display(windows, book, recentDraws, state, profile, *uptime);

    // The plan is set up as at the program's draw start-up.
    if (!book.AddPlanByType(options.planType, options.planType, options.periods)) {
        err << "plan-replay: unknown plan type " << options.planType << "\n";
        return 1;
    }
    book.SetHistoryLimit(0);
    book.SetHitPercent(80);
    book.SetResetOnMisses(0);
    display.Bind("main", "编辑框_计划", options.planType);

    if (options.live) {
        for (auto it = history.draws.rbegin(); it != history.draws.rend(); ++it)
            display.OnNewDraw(*it);
    } else {
        recentDraws.Resize(kHistoryRows);
        const int rows = std::min<int>(kHistoryRows, static_cast<int>(history.draws.size()));
        for (int i = 0; i < rows; ++i) recentDraws[i + 1] = history.draws[static_cast<size_t>(i)];
        display.Rebuild(options.periods);
    }
    display.Refresh();
    out << windows.Text("main", "编辑框_计划");
    out.flush();
    return 0;
}

}  // namespace veltra
