// Costs of the client's server access: the request envelope and the data envelope
// alone, and whole calls (handshake + call) to the local application server on
// loopback.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/clock.h"
#include "platform/headless/headless_window_system.h"
#include "server/app_server_client.h"
#include "server/envelope_codec.h"
#include "server/url_escape.h"
#include "tests/support/app_server_process.h"

namespace veltra {
namespace {

std::string RequestText(size_t paramBytes) {
    return R"({"appid":"2111","funname":"select_draw","param":[")" + std::string(paramBytes, 'x') +
           R"(","50"],"rand":"4821"})";
}

// Serialised request -> escaped -> both RC4 layers -> hex body.
void BM_EncryptRequest(benchmark::State& state) {
    JsonService json;
    const HttpTransport transport;
    SystemClock clock;
    const ServerChannel channel(json, transport, clock);
    const std::string request = RequestText(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            channel.EncryptRequest(UrlEscapeUtf8(request), "0123456789abcdef"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(request.size()));
}
BENCHMARK(BM_EncryptRequest)->Arg(16)->Arg(1024)->Arg(64 * 1024);

// An encrypted data member -> both layers opened -> UTF-8 checked.
void BM_DecryptData(benchmark::State& state) {
    JsonService json;
    const HttpTransport transport;
    SystemClock clock;
    const ServerChannel channel(json, transport, clock);
    const std::string payload =
        R"({"data":")" + std::string(static_cast<size_t>(state.range(0)), 'y') + R"("})";
    const std::string sealed = SealData(payload, 4821);
    for (auto _ : state) benchmark::DoNotOptimize(channel.DecryptData(sealed, 4821));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(payload.size()));
}
BENCHMARK(BM_DecryptData)->Arg(16)->Arg(1024)->Arg(64 * 1024);

// One local application server for the call benchmarks.
test::AppServerProcess& Server() {
    static test::AppServerProcess server;
    return server;
}

struct Client {
    JsonService json;
    HttpTransport transport;
    SystemClock clock;
    HeadlessWindowSystem windows;
    AppServerClient client{json, transport, clock, windows};
};

std::unique_ptr<Client> ReadyClient(benchmark::State& state) {
    if (!Server().Running()) {
        state.SkipWithError(("local application server: " + Server().Error()).c_str());
        return nullptr;
    }
    auto ready = std::make_unique<Client>();
    if (!ready->client.Init(Server().MainUrl(), 2111)) {
        state.SkipWithError(ready->client.LastError().c_str());
        return nullptr;
    }
    return ready;
}

// "newestdraw": handshake, encrypted request, encrypted payload.
void BM_CallNewestDraw(benchmark::State& state) {
    const auto ready = ReadyClient(state);
    if (!ready) return;
    std::vector<std::string> fields;
    for (auto _ : state) {
        if (!ready->client.NewestDraw(fields)) {
            state.SkipWithError("newestdraw failed");
            break;
        }
    }
}
BENCHMARK(BM_CallNewestDraw)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

// "select_draw" for 50 draws: handshake, call, cut and parse of the draw list.
void BM_CallSelectDraw50(benchmark::State& state) {
    const auto ready = ReadyClient(state);
    if (!ready) return;
    DrawTable table;
    for (auto _ : state) {
        if (!ready->client.SelectDraw(50, table)) {
            state.SkipWithError("select_draw failed");
            break;
        }
    }
}
BENCHMARK(BM_CallSelectDraw50)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace veltra

BENCHMARK_MAIN();
