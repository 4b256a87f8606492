#include "appserver/app_server.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "appserver/draw_simulator.h"
#include "appserver/fixed_offset_zone.h"
#include "server/envelope_codec.h"
#include "tests/appserver/wire_client.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

using Json = nlohmann::json;

// A server on two free loopback ports.
struct ServerFixture {
    explicit ServerFixture(const std::string& faultSpec = "") {
        std::string error;
        if (!faultSpec.empty() && !faults.Add(faultSpec, &error)) ADD_FAILURE() << error;
        service = std::make_unique<AppService>(clock, simulator, keys, faults, AppServiceConfig{});
        ListenOptions options;
        options.mainPort = 0;
        options.fallbackPort = 0;
        options.threads = 2;
        options.maxBodyBytes = 64 * 1024;
        server = std::make_unique<AppServer>(*service, options);
        started = server->Start(&error);
        EXPECT_TRUE(started) << error;
    }

    test::ManualClock clock;
    FixedOffsetZone zone{8 * 3600};
    DrawSimulator simulator{zone, 7};
    HandshakeKeys keys{"secret"};
    FaultPlan faults;
    std::unique_ptr<AppService> service;
    std::unique_ptr<AppServer> server;
    bool started = false;
};

std::string Post(httplib::Client& client, const std::string& path, const std::string& body) {
    const httplib::Result result =
        client.Post(path.c_str(), body, "application/x-www-form-urlencoded");
    return result ? result->body : "<no reply>";
}

// Handshake and init through a port at an initialisation path; the payload.
Json InitThrough(int port, const std::string& path) {
    httplib::Client client("127.0.0.1", port);
    const std::string key = test::KeyOfHandshakeReply(Post(client, path, test::HandshakeBody()));
    const Json reply =
        Json::parse(Post(client, path, test::CallBody(key, "init", {})), nullptr, false);
    if (!reply.is_object() || reply["errcode"] != "0") return reply;
    return Json::parse(OpenData(reply["data"].get<std::string>(), 4821), nullptr, false);
}

TEST(AppServer, BothPortsInitialiseAndPointAtThemselves) {
    ServerFixture f;
    ASSERT_TRUE(f.started);
    EXPECT_EQ(f.server->MainUrl(),
              "http://127.0.0.1:" + std::to_string(f.server->MainPort()) + "/appinit.php");
    EXPECT_EQ(f.server->FallbackUrl(),
              "http://127.0.0.1:" + std::to_string(f.server->FallbackPort()) + "/");
    for (const auto& [port, path] : {std::pair{f.server->MainPort(), "/appinit.php"},
                                     std::pair{f.server->FallbackPort(), "/"}}) {
        const Json info = InitThrough(port, path);
        const std::string base = "http://127.0.0.1:" + std::to_string(port);
        ASSERT_EQ(info["drawurl"], base + "/draw.php") << info.dump();

        httplib::Client client("127.0.0.1", port);
        const std::string key =
            test::KeyOfHandshakeReply(Post(client, "/draw.php", test::HandshakeBody()));
        const std::string body =
            Post(client, "/draw.php", test::CallBody(key, "select_draw", {"", "50"}));
        EXPECT_EQ(test::CutDrawList(body).size() > 0, true) << body;
        const httplib::Result period = client.Get("/newphase.php");
        ASSERT_TRUE(period);
        EXPECT_EQ(period->body, f.simulator.Newest(f.clock.now).period);
        EXPECT_EQ(period->get_header_value("Content-Type"), "text/plain; charset=utf-8");
        const httplib::Result update = client.Get("/update.bin");
        ASSERT_TRUE(update);
        EXPECT_EQ(update->status, 200);
    }
    // Each port offers the initialisation at its own path only.
    httplib::Client main("127.0.0.1", f.server->MainPort());
    const httplib::Result wrongPath = main.Post("/", test::HandshakeBody(), "text/plain");
    ASSERT_TRUE(wrongPath);
    EXPECT_EQ(wrongPath->status, 404);
    EXPECT_EQ(Json::parse(wrongPath->body)["errcode"], "11");
}

TEST(AppServer, TurnsAwayHugeAndMalformedRequestsWithARefusal) {
    ServerFixture f;
    ASSERT_TRUE(f.started);
    httplib::Client client("127.0.0.1", f.server->MainPort());
    const httplib::Result huge =
        client.Post("/appinit.php", "DATA=" + std::string(200 * 1024, 'A'), "text/plain");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->status, 413);
    EXPECT_EQ(Json::parse(huge->body)["errcode"], "9");
    const std::string garbage = Post(client, "/appinit.php", std::string("\x00\xFF{[", 4));
    EXPECT_EQ(Json::parse(garbage)["errcode"], "1");
    // The server still answers afterwards.
    EXPECT_EQ(InitThrough(f.server->MainPort(), "/appinit.php")["version"], "1.41");
}

TEST(AppServer, StopAnswersSlowRepliesAtOnce) {
    ServerFixture f("slow:newphase=600000");
    ASSERT_TRUE(f.started);
    std::string body = "<none>";
    std::thread reader([&] {
        httplib::Client client("127.0.0.1", f.server->MainPort());
        const httplib::Result result = client.Get("/newphase.php");
        body = result ? result->body : "<no reply>";
    });
    // Wait until the request has reached the service (no sleeping on time; the
    // deadline only keeps a broken server from hanging the test).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Json::parse(f.service->Stats().body)["newphase"] != 1 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    EXPECT_EQ(Json::parse(f.service->Stats().body)["newphase"], 1);
    f.server->Stop();
    reader.join();
    EXPECT_EQ(body, f.simulator.Newest(f.clock.now).period);
}

TEST(AppServer, ReportsAPortInUse) {
    ServerFixture first;
    ASSERT_TRUE(first.started);
    test::ManualClock clock;
    FaultPlan faults;
    AppService service(clock, first.simulator, first.keys, faults, AppServiceConfig{});
    ListenOptions options;
    options.mainPort = 0;
    options.fallbackPort = first.server->FallbackPort();
    AppServer second(service, options);
    std::string error;
    EXPECT_FALSE(second.Start(&error));
    EXPECT_NE(error.find("port " + std::to_string(options.fallbackPort) + " (fallback)"),
              std::string::npos)
        << error;
}

}  // namespace
}  // namespace veltra
