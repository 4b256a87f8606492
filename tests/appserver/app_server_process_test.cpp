#include "tests/support/app_server_process.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <nlohmann/json.hpp>

#include "appserver/civil_time.h"
#include "appserver/draw_simulator.h"
#include "appserver/system_local_zone.h"
#include "server/envelope_codec.h"
#include "tests/appserver/wire_client.h"
#include "tests/support/temp_dir.h"

namespace veltra::test {
namespace {

using Json = nlohmann::json;

// "host", port of an "http://host:port..." address.
std::pair<std::string, int> HostPort(const std::string& base) {
    const std::string rest = base.substr(std::string("http://").size());
    const size_t colon = rest.rfind(':');
    return {rest.substr(0, colon), std::stoi(rest.substr(colon + 1))};
}

std::string Get(const std::string& base, const std::string& path) {
    const auto [host, port] = HostPort(base);
    httplib::Client client(host, port);
    const httplib::Result result = client.Get(path.c_str());
    return result ? result->body : "<no reply>";
}

// Handshake and one call through an address; the reply body.
std::string Call(const std::string& base, const std::string& path, const std::string& funname,
                 const std::vector<std::string>& params = {}) {
    const auto [host, port] = HostPort(base);
    httplib::Client client(host, port);
    const httplib::Result handshake =
        client.Post(path.c_str(), HandshakeBody(), "application/x-www-form-urlencoded");
    if (!handshake) return "<no handshake>";
    const std::string key = KeyOfHandshakeReply(handshake->body);
    const httplib::Result reply = client.Post(path.c_str(), CallBody(key, funname, params),
                                              "application/x-www-form-urlencoded");
    return reply ? reply->body : "<no reply>";
}

TEST(AppServerProcess, AnnouncesBothAddressesAndStopsOnEitherSignal) {
    for (const int signal : {SIGTERM, SIGINT}) {
        AppServerProcess server;
        ASSERT_TRUE(server.Running()) << server.Error();
        EXPECT_EQ(server.MainUrl().rfind("http://127.0.0.1:", 0), 0u) << server.MainUrl();
        EXPECT_EQ(server.MainUrl(), server.MainBase() + "/appinit.php");
        EXPECT_EQ(server.FallbackUrl(), server.FallbackBase() + "/");
        EXPECT_NE(server.MainBase(), server.FallbackBase());
        EXPECT_EQ(server.Stop(signal), 0);
        EXPECT_FALSE(server.Running());
    }
}

TEST(AppServerProcess, ExplainsWhatItCannotDo) {
    TempDir dir;
    const std::string badHistory = dir.Write("draws.txt", "a|+|b\r\n").string();
    AppServerProcess running;
    ASSERT_TRUE(running.Running()) << running.Error();
    const std::string usedPort = std::to_string(HostPort(running.MainBase()).second);
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* output;
    };
    const Case cases[] = {
        {{"--help"}, 0, "--fault RULES"},
        {{"--colour", "red"}, 2, "unknown option --colour"},
        {{"--fault", "refuse:nowhere"}, 2, "unknown target"},
        {{"--main-port", "0", "--fallback-port", "0", "--history", badHistory},
         1,
         "draws.txt: line 1: a draw needs five fields"},
        {{"--main-port", "0", "--fallback-port", "0", "--update-file", dir.Path() / "none"},
         1,
         "cannot read"},
        {{"--main-port", usedPort, "--fallback-port", "0"}, 1, "cannot listen on 127.0.0.1 port"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(AppServerProcess::RunToEnd(c.args, &output), c.status) << c.args[0];
        EXPECT_NE(output.find(c.output), std::string::npos) << output;
    }
}

TEST(AppServerProcess, ServesTheSimulatedDayOfAFrozenClock) {
    const int64_t now = 1704439500;
    AppServerProcess server({"--now", std::to_string(now), "--seed", "7", "--version", "1.42",
                             "--fault", "refuse:init=2"});
    ASSERT_TRUE(server.Running()) << server.Error();
    const SystemLocalZone zone;  // the server runs in the same zone as the test
    const DrawSimulator simulator(zone, 7);
    EXPECT_EQ(Get(server.MainBase(), "/newphase.php"), simulator.Newest(now).period);

    std::vector<std::string> codes;
    Json reply;
    for (int i = 0; i < 3; ++i) {
        reply = Json::parse(Call(server.FallbackBase(), "/", "init"), nullptr, false);
        codes.push_back(reply.value("errcode", "?"));
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"10", "10", "0"}));
    const Json info = Json::parse(OpenData(reply["data"].get<std::string>(), 4821));
    EXPECT_EQ(info["version"], "1.42");
    EXPECT_EQ(info["drawurl"], server.FallbackBase() + "/draw.php");
    EXPECT_EQ(Json::parse(Get(server.MainBase(), "/stats"))["init"], 3);

    const std::string list =
        CutDrawList(Call(server.MainBase(), "/draw.php", "select_draw", {"", "50"}));
    std::string expected;
    for (const DrawRow& row : simulator.Recent(now, 50)) {
        expected += (expected.empty() ? "" : "\r\n") + JoinDrawRow(row);
    }
    EXPECT_EQ(list, expected);
    EXPECT_EQ(Get(server.MainBase(), "/update.bin").rfind("#!/bin/sh", 0), 0u);

    // The frozen clock moves on request: at the coming draw's time, it is the newest.
    const DrawRow coming = simulator.Coming(now);
    const int64_t drawTime = zone.ToUnix(*ParseDateTime(coming.drawTime));
    const auto [host, port] = HostPort(server.MainBase());
    httplib::Client control(host, port);
    EXPECT_EQ(Json::parse(Get(server.MainBase(), "/clock"))["data"], std::to_string(now));
    const httplib::Result moved =
        control.Post("/clock", "advance=" + std::to_string(drawTime - now), "text/plain");
    ASSERT_TRUE(moved);
    EXPECT_EQ(Json::parse(moved->body)["data"], std::to_string(drawTime));
    EXPECT_EQ(Get(server.FallbackBase(), "/newphase.php"), coming.period);
}

TEST(AppServerProcess, ServesAHistoryFileAndAnUpdateFile) {
    TempDir dir;
    const std::string rows =
        "a|+|20240105043|+|2024-01-05 15:30:00|+|1,2,3|+|77\n"
        "b|+|20240105042|+|2024-01-05 15:20:00|+|4,5,6|+|-5\n";
    const std::string update(70000, '\x7F');
    AppServerProcess server({"--history", dir.Write("draws.txt", rows).string(), "--update-file",
                             dir.Write("new.bin", update).string()});
    ASSERT_TRUE(server.Running()) << server.Error();
    EXPECT_EQ(Get(server.MainBase(), "/newphase.php"), "20240105043");
    EXPECT_EQ(CutDrawList(Call(server.MainBase(), "/draw.php", "select_draw", {"", "50"})),
              "a|+|20240105043|+|2024-01-05 15:30:00|+|1,2,3|+|77\r\n"
              "b|+|20240105042|+|2024-01-05 15:20:00|+|4,5,6|+|-5");
    EXPECT_EQ(Get(server.FallbackBase(), "/update.bin"), update);
    // Only a frozen clock can be moved.
    EXPECT_EQ(Json::parse(Get(server.MainBase(), "/clock"))["errcode"], "11");
}

}  // namespace
}  // namespace veltra::test
