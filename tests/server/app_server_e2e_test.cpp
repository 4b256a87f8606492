// The client against the local application server binary on loopback.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/headless/headless_window_system.h"
#include "server/app_server_client.h"
#include "tests/support/app_server_process.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

using test::AppServerProcess;

// 2024-01-05 04:00:00 UTC: in the middle of a draw day in every zone from UTC-4 to UTC+14.
constexpr const char* kNow = "1704427200";

class AppServerEndToEnd : public ::testing::Test {
  protected:
    explicit AppServerEndToEnd(HttpTransport::Limits limits = {}) : transport(limits) {}

    // Starts the server with extra arguments; the client is then ready to Init.
    void Start(std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"--now", kNow});
        server = std::make_unique<AppServerProcess>(args);
        ASSERT_TRUE(server->Running()) << server->Error();
    }
    // How often the server saw a request of the given kind.
    int64_t Count(const std::string& kind) const {
        const std::string text = transport.PlainGet(server->MainBase() + "/stats");
        const nlohmann::json counts = nlohmann::json::parse(text, nullptr, false);
        return counts.is_object() ? counts.value(kind, int64_t{-1}) : -1;
    }

    std::unique_ptr<AppServerProcess> server;
    JsonService json;
    HttpTransport transport;
    test::ManualClock clock;
    HeadlessWindowSystem windows;
    AppServerClient client{json, transport, clock, windows};
};

TEST_F(AppServerEndToEnd, EveryFunctionAnswers) {
    Start();
    ASSERT_TRUE(client.Init(server->FallbackUrl(), 2111)) << client.LastError();
    ASSERT_TRUE(client.Init(server->MainUrl(), 2111)) << client.LastError();
    const AppInfo info = client.GetAppInfo();
    EXPECT_EQ(info.drawurl.rfind(server->MainBase(), 0), 0u) << info.drawurl;
    EXPECT_EQ(info.version, "1.41");
    EXPECT_FALSE(info.advert1.empty());
    EXPECT_FALSE(transport.PlainGet(info.advert1).empty());

    std::vector<std::string> fields;
    ASSERT_TRUE(client.NewestDraw(fields));
    ASSERT_EQ(fields.size(), 8u);
    const std::string period = fields[1];
    EXPECT_EQ(period.size(), 11u);
    EXPECT_EQ(client.NewestPeriod(), period);

    DrawTable table;
    ASSERT_TRUE(client.SelectDraw(50, table)) << client.LastError();
    ASSERT_EQ(table.Rows(), 50);
    ASSERT_EQ(table.Columns(), 5);
    EXPECT_EQ(table.Cell(1, 2), period);
    EXPECT_EQ(table.Cell(1, 4), fields[3]);
    EXPECT_EQ(table.Cell(1, 5), fields[4]);
    EXPECT_NE(table.Cell(50, 2), "");

    DrawTable day;
    ASSERT_TRUE(client.SelectDrawDate(fields[2], day)) << client.LastError();
    ASSERT_GT(day.Rows(), 0);
    for (int r = 1; r <= day.Rows(); ++r)
        EXPECT_EQ(day.Cell(r, 2).substr(0, 8), period.substr(0, 8));

    std::string schedule;
    EXPECT_TRUE(client.GetInit(schedule));
    EXPECT_FALSE(schedule.empty());

    // Chinese keys travel escaped inside the envelope and come back as members.
    std::vector<std::string> values;
    ASSERT_TRUE(client.GetForecast("", {"和值", "大小"}, values));
    ASSERT_EQ(values.size(), 2u);
    for (const std::string& value : values) EXPECT_TRUE(value == "大" || value == "小") << value;
}

TEST_F(AppServerEndToEnd, InitRefusedTwiceThenAccepted) {
    Start({"--fault", "refuse:init=2"});
    client.SetLastError("earlier");
    ASSERT_TRUE(client.Init(server->MainUrl(), 2111));
    EXPECT_EQ(Count("init"), 3);
    EXPECT_EQ(windows.PendingEventRuns(), 2);
    EXPECT_EQ(client.LastError(), "earlier");
}

TEST_F(AppServerEndToEnd, ServerFaultsReachTheCallerAsErrors) {
    // Successive newestdraw calls meet these faults in turn.
    Start({"--fault",
           "empty:newestdraw=1,broken:newestdraw=1,baddata:newestdraw=1,badseal:newestdraw=1,"
           "emptydata:newestdraw=1,refuse:newestdraw=1,baddata:getforecast=1,refuse:select_draw=1,"
           "refuse:newphase=1,badseal:handshake=1"});
    ASSERT_TRUE(client.Init(server->MainUrl(), 2111))
        << client.LastError();  // handshake refused once, retried

    struct Case {
        const char* errcode;
        const char* msg;
    };
    const Case newest[] = {
        {"9999", "服务器访问失败!"},  {"9999", "服务器访问错误!"}, {"9999", "服务器访问错误!2"},
        {"9999", "服务器访问错误!2"}, {"0", "获取成功"},           {"10", "服务器繁忙，请稍后再试"},
    };
    client.SetLastError("kept");
    for (const Case& c : newest) {
        std::vector<std::string> fields;
        EXPECT_FALSE(client.NewestDraw(fields)) << c.msg;
        EXPECT_EQ(client.DataReply().ErrCode(), c.errcode);
        EXPECT_EQ(client.DataReply().Msg(), c.msg);
    }
    EXPECT_EQ(client.LastError(), "kept");
    std::vector<std::string> fields;
    EXPECT_TRUE(client.NewestDraw(fields));  // the faults are used up

    std::vector<std::string> values;
    EXPECT_FALSE(client.GetForecast("", {"k"}, values));
    EXPECT_EQ(client.DataReply().Msg(), "服务器访问错误!2");

    DrawTable table;
    EXPECT_FALSE(client.SelectDraw(50, table));
    EXPECT_EQ(client.LastError(), "获取最新开奖数据失败!服务器繁忙，请稍后再试 错误代码：10");
    EXPECT_EQ(client.NewestPeriod(), "");
    EXPECT_EQ(client.LastError(), "最新期号获取失败!");
    EXPECT_TRUE(client.SelectDraw(50, table));
    EXPECT_NE(client.NewestPeriod(), "");
}

TEST_F(AppServerEndToEnd, StoppedServerCostsTenAttempts) {
    Start({"--fault", "empty:handshake"});
    EXPECT_FALSE(client.Init(server->MainUrl(), 2111));
    EXPECT_EQ(client.LastError(), "初始化连接服务器失败！：服务器访问失败! 错误代码：9999");
    EXPECT_EQ(Count("handshake"), 10);
    EXPECT_EQ(Count("init"), 0);

    const std::string url = server->MainUrl();
    ASSERT_EQ(server->Stop(), 0);
    HeadlessWindowSystem events;
    AppServerClient fresh(json, transport, clock, events);
    EXPECT_FALSE(fresh.Init(url, 2111));
    EXPECT_EQ(fresh.LastError(), "初始化连接服务器失败！：服务器访问失败! 错误代码：9999");
    EXPECT_EQ(events.PendingEventRuns(), AppServerClient::kInitAttempts - 1);
}

class SlowAppServer : public AppServerEndToEnd {
  protected:
    static HttpTransport::Limits Quick() {
        HttpTransport::Limits limits;
        limits.totalTimeoutMs = 300;
        return limits;
    }
    SlowAppServer() : AppServerEndToEnd(Quick()) {}
};

TEST_F(SlowAppServer, AReplyTooLateIsNoReply) {
    Start({"--fault", "slow:newestdraw=5000"});
    ASSERT_TRUE(client.Init(server->MainUrl(), 2111)) << client.LastError();
    std::vector<std::string> fields;
    EXPECT_FALSE(client.NewestDraw(fields));
    EXPECT_EQ(client.DataReply().ErrCode(), "9999");
    EXPECT_EQ(client.DataReply().Msg(), "服务器访问失败!");
}

}  // namespace
}  // namespace veltra
