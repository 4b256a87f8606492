#include "server/server_channel.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "base/gbk_text.h"
#include "server/envelope_codec.h"
#include "tests/server/fake_app_server.h"
#include "tests/server/raw_http_listener.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

using test::FakeAppServer;

class ServerChannelTest : public ::testing::Test {
  protected:
    ServerChannelTest() : channel(json, transport, clock), reply(json) {
        channel.SetEndpoint(server.Url("/data.php"), 2111);
    }

    // Calls with the given reply body and returns the call's result.
    bool CallWith(const std::string& body, bool plain, std::vector<std::string> params = {}) {
        server.OnCall([body](const FakeAppServer::Call&) { return body; });
        return channel.CallForData(reply, "fn", params, plain);
    }

    void ExpectError(std::string_view msg) {
        EXPECT_EQ(reply.ErrCode(), "9999");
        EXPECT_EQ(reply.Msg(), msg);
        EXPECT_EQ(reply.GetMemberText("data"), "");
        EXPECT_EQ(reply.ToText(),
                  nlohmann::json({{"errcode", "9999"}, {"msg", msg}, {"data", ""}}).dump());
    }

    FakeAppServer server;
    JsonService json;
    HttpTransport transport;
    test::ManualClock clock;
    ServerChannel channel;
    JsonReply reply;
};

TEST_F(ServerChannelTest, ErrcodeZeroAsNumberOrTextSucceeds) {
    struct Case {
        std::string errcode;
        bool ok;
    };
    const Case cases[] = {{"0", true},     {"\"0\"", true},  {"\"00\"", false}, {"5", false},
                          {"\"\"", false}, {"false", false}, {"null", false}};
    for (const Case& c : cases) {
        server.OnCall([&](const FakeAppServer::Call&) {
            return FakeAppServer::Reply(c.errcode, "消息", "\"\"");
        });
        std::string text = "unchanged";
        int rand = -1;
        EXPECT_EQ(channel.Call(text, "fn", {}, rand, reply), c.ok) << c.errcode;
        EXPECT_EQ(text, FakeAppServer::Reply(c.errcode, "消息", "\"\""));
        EXPECT_EQ(rand, server.Calls().back().rand);
        EXPECT_EQ(reply.Msg(), "消息");  // the server's reply, passed on as it came
    }
    // A reply without errcode at all is no success either.
    EXPECT_FALSE(CallWith(R"({"msg":"m"})", true));
}

TEST_F(ServerChannelTest, RequestCarriesFunctionAppIdRandAndParams) {
    clock.now = 1'700'000'000;
    clock.uptime = 42;
    EXPECT_TRUE(channel.CallWithParams(reply, "select", "令牌", "", "dropped"));
    EXPECT_TRUE(channel.CallWithParams(reply, "none"));
    EXPECT_TRUE(
        channel.CallForData(reply, "many", {"a b", "{\"x\":[1]}", "%2F", "和值大小"}, false));

    const auto calls = server.Calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].path, "/data.php");
    EXPECT_EQ(calls[0].funname, "select");
    EXPECT_EQ(calls[0].appid, "2111");
    EXPECT_EQ(calls[0].rand, 42);  // last four digits of 1700000042
    EXPECT_EQ(calls[0].params, (std::vector<std::string>{"令牌"}));
    EXPECT_EQ(nlohmann::json::parse(calls[1].json)["param"], nlohmann::json::array());
    EXPECT_EQ(calls[2].params, (std::vector<std::string>{"a b", "{\"x\":[1]}", "%2F", "和值大小"}));
    EXPECT_EQ(server.Handshakes(), 3);  // one fresh key per call
}

TEST_F(ServerChannelTest, DataPayloads) {
    // Empty or missing data: success, the envelope stays.
    for (const std::string& data :
         {std::string("\"\""), std::string("false"), std::string("null")}) {
        EXPECT_TRUE(CallWith(FakeAppServer::Reply("0", "好", data), false)) << data;
        EXPECT_EQ(reply.Msg(), "好");
        EXPECT_EQ(reply.ErrCode(), "0");
    }
    EXPECT_TRUE(CallWith(R"({"errcode":0,"msg":"m"})", false));
    EXPECT_EQ(reply.Msg(), "m");

    // Plain data as a JSON value or as a text holding JSON.
    EXPECT_TRUE(CallWith(FakeAppServer::Reply("0", "", R"({"a":"1"})"), true));
    EXPECT_EQ(reply.GetMemberText("a"), "1");
    EXPECT_EQ(reply.GetMemberText("errcode"), "");  // the payload replaced the envelope
    EXPECT_TRUE(CallWith(FakeAppServer::Reply("0", "", R"("{\"a\":\"和\"}")"), true));
    EXPECT_EQ(reply.GetMemberText("a"), "和");

    // Plain data that is no JSON.
    EXPECT_FALSE(CallWith(FakeAppServer::Reply("0", "", "\"abc\""), true));
    ExpectError("服务器访问错误!2");

    // Encrypted data is opened with the call's own rand.
    server.OnCall([](const FakeAppServer::Call& call) {
        return FakeAppServer::EncryptedReply(call, R"({"data":"开奖| |x","n":2})");
    });
    EXPECT_TRUE(channel.CallForData(reply, "fn", {}, false));
    EXPECT_EQ(reply.GetMemberText("data"), "开奖| |x");
    EXPECT_EQ(reply.GetMemberText("n"), "2");

    // Encrypted data that does not open into JSON, or not into UTF-8 text.
    for (const std::string& data : {std::string("\"ABCDEF\""), std::string("\"zz\"")}) {
        EXPECT_FALSE(CallWith(FakeAppServer::Reply("0", "", data), false)) << data;
        ExpectError("服务器访问错误!2");
    }
    server.OnCall([](const FakeAppServer::Call& call) {
        return FakeAppServer::EncryptedReply(call, "\"\xff\xfe\"");
    });
    EXPECT_FALSE(channel.CallForData(reply, "fn", {}, false));
    ExpectError("服务器访问错误!2");
    // Data sent encrypted but read as plain is no JSON either.
    server.OnCall(
        [](const FakeAppServer::Call& call) { return FakeAppServer::EncryptedReply(call, "{}"); });
    EXPECT_FALSE(channel.CallForData(reply, "fn", {}, true));
    ExpectError("服务器访问错误!2");
}

TEST_F(ServerChannelTest, RepeatedCallsKeepNoValuesBehind) {
    server.OnCall([](const FakeAppServer::Call& call) {
        return FakeAppServer::EncryptedReply(call, R"({"data":"x","list":[1,2,{"k":"v"}]})");
    });
    ASSERT_TRUE(channel.CallForData(reply, "fn", {"a", "b"}, false));
    reply.GetMemberText("list");
    reply.GetMemberText("data");
    const size_t settled = json.LiveValueCount();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(channel.CallForData(reply, "fn", {"a", "b"}, false));
        reply.GetMemberText("list");
        reply.GetMemberText("data");
    }
    EXPECT_EQ(json.LiveValueCount(), settled);
}

TEST_F(ServerChannelTest, UnreadableRepliesAreChannelErrors) {
    struct Case {
        std::string body;
        std::string_view msg;
    };
    const Case cases[] = {
        {"", "服务器访问失败!"},
        {"{\"errcode\":0,", "服务器访问错误!"},
        {"<html>502</html>", "服务器访问错误!"},
        {"{\"errcode\":0,\"msg\":\"\xc0\xaf\"}", "服务器访问错误!"},
        {std::string(3 * 1024 * 1024, '{'), "服务器访问错误!"},
    };
    for (const Case& c : cases) {
        std::string text = "unchanged";
        int rand = -1;
        server.OnCall([&](const FakeAppServer::Call&) { return c.body; });
        EXPECT_FALSE(channel.Call(text, "fn", {}, rand, reply));
        ExpectError(c.msg);
        if (c.body.empty()) {
            EXPECT_EQ(text, "unchanged");
            EXPECT_EQ(rand, -1);
        }
    }
}

TEST_F(ServerChannelTest, HandshakeFailuresStopBeforeTheCall) {
    struct Case {
        std::string body;
        std::string errcode;
        std::string msg;
    };
    const Case cases[] = {
        {"", "9999", "服务器访问失败!"},
        {"DATA", "9999", "服务器访问错误!"},
        {FakeAppServer::Reply("7", "拒绝", "\"\""), "7", "拒绝"},
        // A key was promised but none came: the reply says 0, the call still fails.
        {FakeAppServer::Reply("0", "ok", "\"\""), "0", "ok"},
    };
    for (const Case& c : cases) {
        server.OnHandshake([&] { return c.body; });
        EXPECT_FALSE(channel.CallWithParams(reply, "init"));
        EXPECT_EQ(reply.ErrCode(), c.errcode);
        EXPECT_EQ(reply.Msg(), c.msg);
    }
    EXPECT_TRUE(server.Calls().empty());

    // A key that cannot open the request: the server refuses it.
    server.OnHandshake([] { return FakeAppServer::Reply("0", "", "\"not hex at all\""); });
    EXPECT_FALSE(channel.CallWithParams(reply, "init"));
    EXPECT_EQ(reply.ErrCode(), "3");
}

TEST_F(ServerChannelTest, NoEndpointOrNoServerIsUnreachable) {
    ServerChannel unset(json, transport, clock);
    EXPECT_FALSE(unset.CallWithParams(reply, "init"));
    ExpectError("服务器访问失败!");
    ServerChannel closed(json, transport, clock);
    closed.SetEndpoint("http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/", 2111);
    EXPECT_FALSE(closed.CallWithParams(reply, "init"));
    ExpectError("服务器访问失败!");
}

TEST(ServerChannel, NewRandIsTheLastFourDigitsOfUptimePlusSeconds) {
    JsonService json;
    const HttpTransport transport;
    test::ManualClock clock;
    ServerChannel channel(json, transport, clock);
    struct Case {
        int64_t now;
        int32_t uptime;
        int rand;
    };
    const Case cases[] = {
        {1'700'000'000, 42, 42},
        {1'700'000'000, 9'999, 9'999},
        {1'700'000'000, 10'000, 0},
        {1'700'000'000, 2'147'483'647, 3'647},  // 3847483647: a sum beyond 32 bits
        {1'700'000'000, -1'699'999'995, 5},     // uptime counter wrapped to negative
        {1'700'000'000, -1'700'000'005, 5},     // negative sum: digits without the sign
        {7, 0, 7},
    };
    for (const Case& c : cases) {
        clock.now = c.now;
        clock.uptime = c.uptime;
        EXPECT_EQ(channel.NewRand(), c.rand) << c.uptime;
    }
    EXPECT_EQ(channel.UnixSecondsText(1'700'000'000), "1700000000");
}

TEST(ServerChannel, HexAndNumberHelpers) {
    JsonService json;
    const HttpTransport transport;
    test::ManualClock clock;
    const ServerChannel channel(json, transport, clock);
    EXPECT_EQ(channel.BytesToHex(std::string("\x0a\xff", 2)), "0AFF");
    EXPECT_EQ(channel.BytesToHex(""), "");
    EXPECT_EQ(channel.HexToBytes("0aff"), std::string("\x0a\xff", 2));
    EXPECT_EQ(channel.HexToBytes("0AFF"), std::string("\x0a\xff", 2));
    EXPECT_EQ(channel.HexToBytes("abc"), std::string("\xab\x0c", 2));  // a last single digit
    EXPECT_EQ(channel.HexToBytes(""), "");
    struct Case {
        const char* digits;
        int base;
        int64_t value;
    };
    const Case cases[] = {{"ff", kBase16, 255}, {"FF", kBase16, 255},   {"777", kBase8, 511},
                          {"101", kBase2, 5},   {"42abc", kBase10, 42}, {"g1", kBase16, 1},
                          {"", kBase16, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(channel.ParseNumber(c.digits, c.base), c.value) << c.digits;
    EXPECT_EQ(channel.ParseNumber("123"), 123);
    EXPECT_EQ(channel.DataKeyText(0), "0");
}

TEST(ServerChannel, HostileEnvelopeTextsNeverCrash) {
    JsonService json;
    const HttpTransport transport;
    test::ManualClock clock;
    const ServerChannel channel(json, transport, clock);
    std::string garbage(4 * 1024 * 1024, '\0');
    uint32_t state = 7;
    for (char& c : garbage) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 24);
    }
    for (const std::string& text :
         {garbage, garbage.substr(0, 12345), std::string("\xe5\x92"), std::string("0"),
          std::string("xyz!"), std::string(3 * 1024 * 1024, 'F')}) {
        EXPECT_EQ(channel.HexToBytes(text).size(), (text.size() + 1) / 2);
        const std::string plain = channel.DecryptData(text, 4821);
        EXPECT_TRUE(IsValidUtf8(plain));  // unreadable data comes back empty, never as raw bytes
        JsonReply reply(json);
        EXPECT_FALSE(reply.Parse(plain)) << text.substr(0, 8);
    }
    // A payload truncated by one hex digit no longer opens into its JSON.
    const std::string sealed = SealData(R"({"data":"x"})", 4821);
    EXPECT_EQ(channel.DecryptData(sealed, 4821), R"({"data":"x"})");
    JsonReply reply(json);
    EXPECT_FALSE(reply.Parse(channel.DecryptData(sealed.substr(0, sealed.size() - 1), 4821)));
}

}  // namespace
}  // namespace veltra
