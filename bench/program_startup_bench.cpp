// Start-up of the whole program on the headless window system against the local
// application server on loopback: everything from the global objects to the main
// window shown, and, for comparison, only the network calls start-up makes.
#include <benchmark/benchmark.h>

#include "app/application.h"
#include "platform/headless/headless_window_system.h"
#include "tests/support/app_server_process.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

struct NoLaunch : ProcessLauncher {
    bool Launch(const std::string&, const std::vector<std::string>&) override { return true; }
};

test::AppServerProcess& Server() {
    static test::AppServerProcess server;
    return server;
}

void BM_StartUpToWindowShown(benchmark::State& s) {
    test::TempDir dir;
    SystemClock clock;
    NoLaunch launcher;
    const HttpTransport transport;
    const Environment environment{
        dir.Path(), dir.Path(), Server().MainUrl(), Server().FallbackUrl(), nullptr, std::nullopt};
    for (auto _ : s) {
        HeadlessWindowSystem windows;
        Application application(windows, clock, launcher, transport, environment);
        int exitCode = 0;
        if (!application.Start(exitCode)) s.SkipWithError("start-up failed");
    }
}
BENCHMARK(BM_StartUpToWindowShown)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The network share: the same calls start-up makes (initialisation, newest period,
// newest draw, 50 recent draws), nothing else.
void BM_StartUpNetworkOnly(benchmark::State& s) {
    SystemClock clock;
    const HttpTransport transport;
    HeadlessWindowSystem windows;
    for (auto _ : s) {
        JsonService json;
        AppServerClient client(json, transport, clock, windows);
        if (!client.Init(Server().MainUrl(), 2111)) s.SkipWithError("init failed");
        std::vector<std::string> fields;
        DrawTable table;
        client.NewestPeriod();
        client.NewestDraw(fields);
        client.SelectDraw(50, table);
    }
}
BENCHMARK(BM_StartUpNetworkOnly)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace veltra

BENCHMARK_MAIN();
