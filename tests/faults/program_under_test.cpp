// The program-under-test fixture.
#include "tests/faults/program_under_test.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/main_window_design.h"
#include "updater/carried_updater.h"

namespace veltra::test {
namespace {

// The port of "http://ADDR:PORT/...".
std::string PortOf(const std::string& url) {
    const size_t colon = url.rfind(':');
    return url.substr(colon + 1, url.find('/', colon) - colon - 1);
}

}  // namespace

std::string ProgramInstance::Text(const char* control) const {
    return windows.Text(kMainWindow, control);
}

std::string ProgramInstance::Plan() const {
    return Text(control::kPlanBox);
}

int ProgramInstance::HistoryRows() const {
    return windows.ListRowCount(kMainWindow, control::kHistoryList);
}

std::string ProgramInstance::TopPeriod() const {
    return windows.ListCell(kMainWindow, control::kHistoryList, 0, 0);
}

ProgramUnderTest::ProgramUnderTest(HttpTransport::Limits limits)
    : transport(limits),
      environment{dir.Path(),
                  dir.Path(),
                  "",
                  "",
                  [](const std::filesystem::path& p) { return WriteCarriedUpdater(p); },
                  std::nullopt} {}

bool ProgramUnderTest::Serve(std::vector<std::string> args, int64_t now) {
    server.reset();
    if (!mainPort.empty()) {
        args.insert(args.end(), {"--main-port", mainPort, "--fallback-port", fallbackPort});
    }
    args.insert(args.end(), {"--now", std::to_string(now), "--secret", "faults-test"});
    server = std::make_unique<AppServerProcess>(args);
    EXPECT_TRUE(server->Running()) << server->Error();
    if (!server->Running()) return false;
    mainPort = PortOf(server->MainUrl());
    fallbackPort = PortOf(server->FallbackUrl());
    environment.mainEndpoint = server->MainUrl();
    environment.fallbackEndpoint = server->FallbackUrl();
    return true;
}

void ProgramUnderTest::KillServer() {
    if (server) server->Stop(SIGKILL);
}

bool ProgramUnderTest::Start(ProgramInstance& instance) {
    instance.application = std::make_unique<Application>(instance.windows, clock, instance.launcher,
                                                         transport, environment);
    return instance.application->Start(instance.exitCode);
}

int64_t ProgramUnderTest::Requests(const std::string& kind) const {
    const HttpTransport reader;
    const auto stats =
        nlohmann::json::parse(reader.PlainGet(server->MainBase() + "/stats"), nullptr, false);
    return stats.is_object() && stats.contains(kind) ? stats[kind].get<int64_t>() : -1;
}

}  // namespace veltra::test
