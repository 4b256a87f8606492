#include "server/app_server_client.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "platform/headless/headless_window_system.h"
#include "tests/server/fake_app_server.h"
#include "tests/server/raw_http_listener.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

using test::FakeAppServer;

nlohmann::json InitPayload(const FakeAppServer& data, const std::string& version = "1.41") {
    return {{"drawurl", data.Url("/draw.php")},
            {"newphase", data.Url("/newphase.txt")},
            {"advert1", data.Url("/advert.html")},
            {"advert2", ""},
            {"version", version},
            {"proupurl", data.Url("/download")},
            {"seo", "吉林快3"},
            {"extra", 1}};
}

class AppServerClientTest : public ::testing::Test {
  protected:
    AppServerClientTest() : client(json, transport, clock, windows) {}

    // Makes `server` answer "init" with payload (encrypted).
    static void AnswerInit(FakeAppServer& server, nlohmann::json payload) {
        server.OnCall([payload](const FakeAppServer::Call& call) {
            return FakeAppServer::EncryptedReply(call, payload.dump());
        });
    }
    // Initialises against initServer, pointing the data channel at dataServer.
    void InitWithDataServer() {
        AnswerInit(initServer, InitPayload(dataServer));
        ASSERT_TRUE(client.Init(initServer.Url("/appinit.php"), 2111));
    }
    std::vector<FakeAppServer::Call> DataCalls() const { return dataServer.Calls(); }

    FakeAppServer initServer;
    FakeAppServer dataServer;
    JsonService json;
    HttpTransport transport;
    test::ManualClock clock;
    HeadlessWindowSystem windows;
    AppServerClient client;
};

TEST_F(AppServerClientTest, InitReadsTheApplicationInformation) {
    client.SetLastError("earlier");
    InitWithDataServer();
    const AppInfo info = client.GetAppInfo();
    EXPECT_EQ(info.drawurl, dataServer.Url("/draw.php"));
    EXPECT_EQ(info.newphase, dataServer.Url("/newphase.txt"));
    EXPECT_EQ(info.advert1, dataServer.Url("/advert.html"));
    EXPECT_EQ(info.advert2, "");
    EXPECT_EQ(info.version, "1.41");
    EXPECT_EQ(info.proupurl, dataServer.Url("/download"));
    EXPECT_EQ(info.seo, "吉林快3");
    EXPECT_EQ(client.NewestPeriodAddress(), info.newphase);
    EXPECT_EQ(client.DataChannel().Url(), info.drawurl);
    EXPECT_EQ(client.DataChannel().AppId(), 2111);
    EXPECT_EQ(client.LastError(), "earlier");

    const auto calls = initServer.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].path, "/appinit.php");
    EXPECT_EQ(calls[0].funname, "init");
    EXPECT_EQ(calls[0].appid, "2111");
    EXPECT_TRUE(calls[0].params.empty());
    EXPECT_EQ(windows.PendingEventRuns(), 0);
}

TEST_F(AppServerClientTest, SecondInitReplacesEverything) {
    InitWithDataServer();
    FakeAppServer otherData;
    nlohmann::json payload = InitPayload(otherData, "");
    payload["version"] = 1.5;  // a number reads as its text
    payload.erase("advert1");
    AnswerInit(initServer, payload);
    ASSERT_TRUE(client.Init(initServer.Url("/appinit.php"), 2112));
    const AppInfo info = client.GetAppInfo();
    EXPECT_EQ(info.version, "1.5");
    EXPECT_EQ(info.advert1, "");
    EXPECT_EQ(info.drawurl, otherData.Url("/draw.php"));
    EXPECT_EQ(client.NewestPeriodAddress(), otherData.Url("/newphase.txt"));
    EXPECT_EQ(client.DataChannel().Url(), otherData.Url("/draw.php"));
    EXPECT_EQ(client.DataChannel().AppId(), 2112);

    // An empty data member is success too; the envelope carries none of the fields.
    initServer.OnCall(
        [](const FakeAppServer::Call&) { return FakeAppServer::Reply("0", "ok", "\"\""); });
    ASSERT_TRUE(client.Init(initServer.Url("/appinit.php"), 2111));
    EXPECT_EQ(client.GetAppInfo(), AppInfo{});
}

TEST_F(AppServerClientTest, InitRetriesUntilTheServerAccepts) {
    client.SetLastError("earlier");
    int seen = 0;
    const nlohmann::json payload = InitPayload(dataServer);
    initServer.OnCall([&seen, payload](const FakeAppServer::Call& call) {
        return ++seen <= 2 ? FakeAppServer::Reply("5", "忙", "\"\"")
                           : FakeAppServer::EncryptedReply(call, payload.dump());
    });
    EXPECT_TRUE(client.Init(initServer.Url("/appinit.php"), 2111));
    EXPECT_EQ(initServer.Calls().size(), 3u);
    EXPECT_EQ(windows.PendingEventRuns(), 2);
    EXPECT_EQ(client.LastError(), "earlier");
    EXPECT_EQ(client.GetAppInfo().drawurl, dataServer.Url("/draw.php"));
}

TEST_F(AppServerClientTest, InitGivesUpAfterTenAttempts) {
    InitWithDataServer();
    const AppInfo before = client.GetAppInfo();
    struct Case {
        std::function<void(FakeAppServer&)> setUp;
        bool unreachable;
        std::string lastError;
        size_t calls;
        int handshakes;
    };
    const Case cases[] = {
        {[](FakeAppServer& s) {
             s.OnCall([](const auto&) { return FakeAppServer::Reply("5", "x", "\"\""); });
         },
         false, "初始化连接服务器失败！：x 错误代码：5", 10, 10},
        {[](FakeAppServer& s) { s.OnHandshake([] { return std::string(); }); }, false,
         "初始化连接服务器失败！：服务器访问失败! 错误代码：9999", 0, 10},
        {[](FakeAppServer& s) {
             s.OnCall([](const auto&) { return FakeAppServer::Reply("0", "", "\"ABCDEF0123\""); });
         },
         false, "初始化连接服务器失败！：服务器访问错误!2 错误代码：9999", 10, 10},
        {[](FakeAppServer&) {}, true, "初始化连接服务器失败！：服务器访问失败! 错误代码：9999", 0,
         0},
    };
    for (const Case& c : cases) {
        FakeAppServer server;
        c.setUp(server);
        HeadlessWindowSystem events;
        AppServerClient fresh(json, transport, clock, events);
        const std::string url = c.unreachable
                                    ? "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/"
                                    : server.Url("/");
        EXPECT_FALSE(fresh.Init(url, 2111));
        EXPECT_EQ(fresh.LastError(), c.lastError);
        EXPECT_EQ(server.Calls().size(), c.calls);
        EXPECT_EQ(server.Handshakes(), c.handshakes);
        EXPECT_EQ(events.PendingEventRuns(), AppServerClient::kInitAttempts - 1);
    }
    // A failed Init keeps what the last good one set.
    initServer.OnCall([](const auto&) { return FakeAppServer::Reply("5", "x", "\"\""); });
    EXPECT_FALSE(client.Init(initServer.Url("/"), 2111));
    EXPECT_EQ(client.GetAppInfo(), before);
    EXPECT_EQ(client.DataChannel().Url(), before.drawurl);
}

TEST_F(AppServerClientTest, NewestDrawSplitsItsFields) {
    InitWithDataServer();
    dataServer.OnCall([](const FakeAppServer::Call& call) {
        return FakeAppServer::EncryptedReply(
            call,
            nlohmann::json({{"data", "A| |P1| |T1| |1,2,3| |77| |B| |P2| |2024-01-05 08:40:00"}})
                .dump());
    });
    std::vector<std::string> fields;
    ASSERT_TRUE(client.NewestDraw(fields));
    EXPECT_EQ(fields, (std::vector<std::string>{"A", "P1", "T1", "1,2,3", "77", "B", "P2",
                                                "2024-01-05 08:40:00"}));
    client.SetToken("tok");
    ASSERT_TRUE(client.NewestDraw(fields));
    const auto calls = DataCalls();
    EXPECT_EQ(calls[0].funname, "newestdraw");
    EXPECT_TRUE(calls[0].params.empty());  // an empty token sends no parameter at all
    EXPECT_EQ(calls[1].params, (std::vector<std::string>{"tok"}));

    // No fields, or a failed call: false, and the last error is left alone.
    client.SetLastError("earlier");
    dataServer.OnCall(
        [](const FakeAppServer::Call& call) { return FakeAppServer::EncryptedReply(call, "{}"); });
    EXPECT_FALSE(client.NewestDraw(fields));
    dataServer.OnCall([](const auto&) { return FakeAppServer::Reply("8", "无数据", "\"\""); });
    EXPECT_FALSE(client.NewestDraw(fields));
    EXPECT_EQ(client.DataReply().Msg(), "无数据");
    EXPECT_EQ(client.LastError(), "earlier");
}

TEST_F(AppServerClientTest, HostileNewestDrawTexts) {
    InitWithDataServer();
    std::string many;
    for (int i = 0; i < 300000; ++i) many += "| |";
    struct Case {
        std::string payload;
        bool ok;
        size_t fields;
    };
    const Case cases[] = {
        {nlohmann::json({{"data", many}}).dump(), true, 300000},
        {nlohmann::json({{"data", "only one field"}}).dump(), true, 1},
        {nlohmann::json({{"data", "A| |P1| |T1"}}).dump(), true,
         3},  // truncated: the caller checks for eight
        {nlohmann::json({{"data", 12345}}).dump(), true, 1},
        {nlohmann::json({{"data", {{"nested", "| |"}}}}).dump(), true, 2},
        {"{\"data\":\"\xff| |\xfe\"}", false, 0},  // not UTF-8
        {R"({"data":"A| |B")", false, 0},          // truncated JSON
    };
    for (const Case& c : cases) {
        dataServer.OnCall([&c](const FakeAppServer::Call& call) {
            return FakeAppServer::EncryptedReply(call, c.payload);
        });
        std::vector<std::string> fields;
        EXPECT_EQ(client.NewestDraw(fields), c.ok) << c.payload.substr(0, 30);
        EXPECT_EQ(fields.size(), c.fields) << c.payload.substr(0, 30);
    }
}

TEST_F(AppServerClientTest, SelectDrawFillsTheTable) {
    InitWithDataServer();
    dataServer.OnCall([](const FakeAppServer::Call&) {
        return FakeAppServer::NestedDrawReply(
            "a|+|p1|+|t1|+|1,2,3|+|5\r\nb|+|p2|+|t2|+|4,5,6|+|6\r\n");
    });
    DrawTable table;
    ASSERT_TRUE(client.SelectDraw(50, table));
    ASSERT_EQ(table.Rows(), 2);
    ASSERT_EQ(table.Columns(), 5);
    EXPECT_EQ(table.Cell(1, 1), "a");
    EXPECT_EQ(table.Cell(1, 4), "1,2,3");
    EXPECT_EQ(table.Cell(2, 5), "6");
    const auto call = DataCalls().back();
    EXPECT_EQ(call.funname, "select_draw");
    EXPECT_EQ(call.params, (std::vector<std::string>{"", "50"}));  // the empty token is still sent

    // A reply without rows: success, table as it was.
    dataServer.OnCall(
        [](const FakeAppServer::Call&) { return FakeAppServer::NestedDrawReply(""); });
    ASSERT_TRUE(client.SelectDraw(50, table));
    EXPECT_EQ(table.Rows(), 2);
}

TEST_F(AppServerClientTest, SelectDrawFailuresSetTheLastError) {
    InitWithDataServer();
    DrawTable table;
    dataServer.OnCall([](const auto&) { return FakeAppServer::Reply("4", "无权限", "\"\""); });
    EXPECT_FALSE(client.SelectDraw(50, table));
    EXPECT_EQ(client.LastError(), "获取最新开奖数据失败!无权限 错误代码：4");
    dataServer.OnCall([](const auto&) { return std::string(); });
    EXPECT_FALSE(client.SelectDrawDate("2024-01-05", table));
    EXPECT_EQ(client.LastError(), "获取最新开奖数据失败!服务器访问失败! 错误代码：9999");
    EXPECT_EQ(table.Rows(), 0);
}

// A list whose rows differ in width would shift fields from one draw into the next:
// it is refused whole, the table keeps what it held.
TEST_F(AppServerClientTest, SelectDrawRefusesRowsOfDifferentWidths) {
    InitWithDataServer();
    struct Case {
        const char* list;
        bool ok;
    } cases[] = {
        {"a|+|p1|+|t1|+|1,2,3|+|5\r\nb|+|p2|+|t2|+|4,5,6|+|6\r\n", true},
        {"a|+|p1|+|t1|+|1,2,3\r\nb|+|p2|+|t2|+|4,5,6\r\n", true},  // narrow, but aligned
        {"a|+|p1|+|t1|+|1,2,3|+|5\r\nb|+|p2|+|t2|+|4,5,6\r\n", false},
        {"a|+|p1|+|t1|+|1,2,3|+|5|+|x\r\nb|+|p2|+|t2|+|4,5,6|+|6", false},
        {"a|+|p1|+|t1|+|1,2,3|+|5\r\n\r\nb|+|p2|+|t2|+|4,5,6|+|6", false},
    };
    for (const Case& c : cases) {
        const std::string list = c.list;
        dataServer.OnCall(
            [list](const FakeAppServer::Call&) { return FakeAppServer::NestedDrawReply(list); });
        DrawTable table;
        table.Assign(1, 1, {"kept"});
        client.SetLastError("");
        EXPECT_EQ(client.SelectDraw(50, table), c.ok) << c.list;
        if (c.ok) {
            EXPECT_EQ(table.Rows(), 2) << c.list;
            EXPECT_EQ(table.Cell(2, 2), "p2") << c.list;
        } else {
            EXPECT_EQ(table.Cell(1, 1), "kept") << c.list;
            EXPECT_EQ(client.LastError(), "获取最新开奖数据失败!服务器访问错误!2 错误代码：9999");
        }
    }
}

TEST_F(AppServerClientTest, SelectDrawDateSendsThePlainDate) {
    InitWithDataServer();
    dataServer.OnCall(
        [](const FakeAppServer::Call&) { return FakeAppServer::NestedDrawReply("a|+|b\r\n"); });
    struct Case {
        const char* date;
        const char* sent;  // nullptr: not a date, nothing is sent
    };
    const Case cases[] = {
        {"2024-01-05", "2024-1-5"},
        {"2024/1/5", "2024-1-5"},
        {"2024年12月31日", "2024-12-31"},
        {"20240105", "2024-1-5"},
        {"2024-01-05 08:30:00", "2024-1-5"},
        {"2024-02-29", "2024-2-29"},
        {"2023-02-29", nullptr},
        {"2024-13-01", nullptr},
        {"", nullptr},
        {"昨天", nullptr},
        {"2024-01-05x", nullptr},
        {"2024-01", nullptr},
    };
    for (const Case& c : cases) {
        const size_t before = DataCalls().size();
        DrawTable table;
        EXPECT_EQ(client.SelectDrawDate(c.date, table), c.sent != nullptr) << c.date;
        const auto calls = DataCalls();
        if (c.sent == nullptr) {
            EXPECT_EQ(calls.size(), before) << c.date;
            EXPECT_EQ(client.LastError(), "获取最新开奖数据失败!日期无效! 错误代码：9999");
            continue;
        }
        ASSERT_EQ(calls.size(), before + 1) << c.date;
        EXPECT_EQ(calls.back().funname, "select_draw_date");
        EXPECT_EQ(calls.back().params, (std::vector<std::string>{"", c.sent}));
        EXPECT_EQ(table.Rows(), 1);
    }
}

TEST_F(AppServerClientTest, GetInitAndGetForecast) {
    InitWithDataServer();
    client.SetToken("t");
    dataServer.OnCall([](const FakeAppServer::Call& call) {
        if (call.funname == "getInit")
            return FakeAppServer::EncryptedReply(call, R"({"data":"配置"})");
        return FakeAppServer::Reply("0", "", R"({"a":"1","b":2})");  // getforecast: plain data
    });
    std::string text;
    EXPECT_TRUE(client.GetInit(text));
    EXPECT_EQ(text, "配置");
    std::vector<std::string> values = {"stale"};
    EXPECT_TRUE(client.GetForecast("k", {"a", "b", "c"}, values));
    EXPECT_EQ(values, (std::vector<std::string>{"1", "2", ""}));
    const auto calls = DataCalls();
    EXPECT_EQ(calls[0].params, (std::vector<std::string>{"t"}));
    EXPECT_EQ(calls[1].funname, "getforecast");
    EXPECT_EQ(calls[1].params, (std::vector<std::string>{"t", "k", "a", "b", "c"}));

    dataServer.OnCall(
        [](const FakeAppServer::Call& call) { return FakeAppServer::EncryptedReply(call, "{}"); });
    EXPECT_FALSE(client.GetInit(text));
    dataServer.OnCall([](const auto&) { return FakeAppServer::Reply("0", "", "\"abc\""); });
    EXPECT_FALSE(client.GetForecast("k", {"a"}, values));
    EXPECT_EQ(client.DataReply().Msg(), "服务器访问错误!2");
}

TEST_F(AppServerClientTest, NewestPeriodReadsPlainText) {
    EXPECT_EQ(client.NewestPeriod(), "");  // no address before Init
    EXPECT_EQ(client.LastError(), "最新期号获取失败!");
    InitWithDataServer();
    client.SetLastError("");
    dataServer.ServeGet("/newphase.txt", "20240105042");
    EXPECT_EQ(client.NewestPeriod(), "20240105042");
    EXPECT_EQ(client.LastError(), "");
    for (const auto& [body, status] :
         {std::pair<std::string, int>{"", 200}, {"oops", 500}, {"\xff\xfe", 200}}) {
        client.SetLastError("");
        dataServer.ServeGet("/newphase.txt", body, status);
        EXPECT_EQ(client.NewestPeriod(), "") << status;
        EXPECT_EQ(client.LastError(), "最新期号获取失败!");
    }
}

}  // namespace
}  // namespace veltra
