// The local application server program: reads its options, builds the draw source
// and the protocol service, serves both ports until SIGINT or SIGTERM.
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "appserver/app_server.h"
#include "appserver/app_service.h"
#include "appserver/clock_control.h"
#include "appserver/command_line.h"
#include "appserver/draw_history.h"
#include "appserver/draw_simulator.h"
#include "appserver/fault_plan.h"
#include "appserver/frozen_clock.h"
#include "appserver/handshake_keys.h"
#include "appserver/system_local_zone.h"
#include "platform/clock.h"

namespace {

using namespace veltra;

int Fail(const std::string& message, int code) {
    std::fprintf(stderr, "appserver: %s\n", message.c_str());
    return code;
}

std::string RandomSecret() {
    std::random_device device;
    std::string secret;
    for (int i = 0; i < 4; ++i) secret += std::to_string(device());
    return secret;
}

// The update offered when no file is given: a small program that names its version.
std::string BuiltInUpdate(const std::string& version) {
    return "#!/bin/sh\necho 'Veltra吉林快3平刷和值大小 " + version + "'\n";
}

int Run(const AppServerOptions& options) {
    // Signals go to sigwait below, in every thread; writes to closed sockets fail
    // instead of ending the process.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    std::unique_ptr<Clock> clock;
    std::unique_ptr<ClockControl> clockControl;
    if (options.now) {
        auto frozen = std::make_unique<FrozenClock>(*options.now);
        clockControl = std::make_unique<ClockControl>(*frozen);
        clock = std::move(frozen);
    } else {
        clock = std::make_unique<SystemClock>();
    }
    SystemLocalZone zone;
    AppServiceConfig config;
    config.version = options.version;
    config.forecastSeed = options.seed;

    std::unique_ptr<DrawSource> draws;
    if (!options.historyPath.empty()) {
        DrawHistory::LoadResult loaded = DrawHistory::Load(options.historyPath);
        if (!loaded.ok) return Fail(loaded.error, 1);
        draws = std::make_unique<DrawHistory>(std::move(loaded.history));
        config.scheduleNote = "开奖数据来自历史记录文件。";
    } else if (options.interval > 0) {
        draws = std::make_unique<DrawSimulator>(zone, options.seed, options.interval,
                                                clock->NowUnixSeconds());
        config.scheduleText =
            std::string(DrawSimulator::kTag) + "| |82| || || |" + std::to_string(options.interval);
    } else {
        draws = std::make_unique<DrawSimulator>(zone, options.seed);
    }

    if (options.updatePath.empty()) {
        config.updateBytes = BuiltInUpdate(options.version);
    } else {
        std::ifstream file(options.updatePath, std::ios::binary);
        if (!file) return Fail("cannot read " + options.updatePath, 1);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        config.updateBytes = bytes.str();
    }

    FaultPlan faults;
    for (const std::string& ruleList : options.faults) {
        std::string error;
        if (!faults.Add(ruleList, &error)) return Fail(error, 2);
    }
    const HandshakeKeys keys(options.secret.empty() ? RandomSecret() : options.secret);
    AppService service(*clock, *draws, keys, faults, config);

    ListenOptions listen;
    listen.address = options.listenAddress;
    listen.mainPort = options.mainPort;
    listen.fallbackPort = options.fallbackPort;
    listen.threads = options.threads;
    listen.clockControl = clockControl.get();
    AppServer server(service, listen);
    std::string error;
    if (!server.Start(&error)) return Fail(error, 1);
    std::printf("listening main=%s fallback=%s\n", server.MainUrl().c_str(),
                server.FallbackUrl().c_str());
    std::fflush(stdout);

    int signalNumber = 0;
    sigwait(&stopSignals, &signalNumber);
    server.Stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CommandLine::Result parsed = CommandLine::Parse(args);
    if (!parsed.ok) {
        std::fprintf(stderr, "appserver: %s\nTry 'appserver --help'.\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(CommandLine::Help().c_str(), stdout);
        return 0;
    }
    return Run(parsed.options);
}
