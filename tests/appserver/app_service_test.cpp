#include "appserver/app_service.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "appserver/draw_simulator.h"
#include "appserver/fixed_offset_zone.h"
#include "base/text_split.h"
#include "server/envelope_codec.h"
#include "server/hex_text.h"
#include "tests/appserver/wire_client.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

using Json = nlohmann::ordered_json;
using Endpoint = AppService::Endpoint;
using test::CallBody;
using test::CallBodyOfText;

constexpr const char* kBase = "http://127.0.0.1:4242";

// A service on a simulated day, its clock at 2024-01-05 15:25:00 in UTC+8.
struct ServiceFixture {
    explicit ServiceFixture(const std::string& faultSpec = "", AppServiceConfig config = {}) {
        clock.now = 1704439500;
        std::string error;
        if (!faultSpec.empty() && !faults.Add(faultSpec, &error)) ADD_FAILURE() << error;
        config.updateBytes = "UPDATE-BYTES";
        service = std::make_unique<AppService>(clock, simulator, keys, faults, config);
    }

    std::string Key() {
        return test::KeyOfHandshakeReply(
            service->Post(Endpoint::kInit, test::HandshakeBody(), kBase).body);
    }
    HttpReply Call(Endpoint endpoint, const std::string& funname,
                   const std::vector<std::string>& params = {}, int64_t rand = 4821) {
        return service->Post(endpoint, CallBody(Key(), funname, params, rand), kBase);
    }
    // The data member of a sealed reply, opened as the client does.
    static Json OpenedData(const HttpReply& reply, int64_t rand = 4821) {
        const Json envelope = Json::parse(reply.body);
        return Json::parse(OpenData(envelope["data"].get<std::string>(), rand), nullptr, false);
    }

    test::ManualClock clock;
    FixedOffsetZone zone{8 * 3600};
    DrawSimulator simulator{zone, 7};
    HandshakeKeys keys{"test secret"};
    FaultPlan faults;
    std::unique_ptr<AppService> service;
};

Json Parse(const HttpReply& reply) {
    return Json::parse(reply.body, nullptr, false);
}

TEST(HandshakeKeys, KeysChangeByWindowAndSecret) {
    const HandshakeKeys keys("s", 300);
    EXPECT_EQ(keys.KeyAt(600), keys.KeyAt(899));
    EXPECT_NE(keys.KeyAt(899), keys.KeyAt(900));
    EXPECT_EQ(keys.KeyAt(600).size(), 16u);
    EXPECT_EQ(keys.AcceptedAt(900)[0], keys.KeyAt(900));
    EXPECT_EQ(keys.AcceptedAt(900)[1], keys.KeyAt(899));
    EXPECT_NE(HandshakeKeys("t", 300).KeyAt(600), keys.KeyAt(600));
    EXPECT_EQ(keys.KeyAt(-1), keys.AcceptedAt(0)[1]);
}

TEST(AppService, HandshakeIssuesTheCurrentWindowsKeyOnEitherEndpoint) {
    ServiceFixture f;
    for (const Endpoint endpoint : {Endpoint::kInit, Endpoint::kDraw}) {
        const HttpReply reply = f.service->Post(endpoint, test::HandshakeBody(), kBase);
        EXPECT_EQ(reply.status, 200);
        const Json json = Parse(reply);
        EXPECT_EQ(json["errcode"], "0");
        EXPECT_EQ(test::KeyOfHandshakeReply(reply.body), f.keys.KeyAt(f.clock.now));
    }
}

TEST(AppService, InitHandsOutTheAddressesItWasReachedAt) {
    AppServiceConfig config;
    config.version = "1.5";
    ServiceFixture f("", config);
    const HttpReply reply = f.Call(Endpoint::kInit, "init");
    EXPECT_EQ(reply.contentType, "application/json; charset=utf-8");
    const Json envelope = Parse(reply);
    EXPECT_EQ(envelope["errcode"], "0");
    EXPECT_FALSE(envelope["msg"].get<std::string>().empty());
    const Json info = ServiceFixture::OpenedData(reply);
    ASSERT_TRUE(info.is_object()) << reply.body;
    std::vector<std::string> names;
    for (const auto& [name, value] : info.items()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"drawurl", "newphase", "advert1", "advert2",
                                               "version", "proupurl", "seo"}));
    EXPECT_EQ(info["drawurl"], std::string(kBase) + AppService::kDrawPath);
    EXPECT_EQ(info["newphase"], std::string(kBase) + AppService::kNewPhasePath);
    EXPECT_EQ(info["advert1"], std::string(kBase) + AppService::kAdvertPath);
    EXPECT_EQ(info["version"], "1.5");
    EXPECT_EQ(info["proupurl"], std::string(kBase) + AppService::kUpdatePath);
}

TEST(AppService, AcceptsKeysOfTheCurrentAndThePreviousWindowOnly) {
    ServiceFixture f;
    const std::string key = f.Key();
    const std::string body = CallBody(key, "init", {});
    f.clock.now += 300;  // the next window: still accepted
    EXPECT_EQ(Parse(f.service->Post(Endpoint::kInit, body, kBase))["errcode"], "0");
    f.clock.now += 300;  // two windows on: expired
    EXPECT_EQ(Parse(f.service->Post(Endpoint::kInit, body, kBase))["errcode"], "3");
    // Another instance sharing the secret accepts the key; one with another does not.
    ServiceFixture other;
    EXPECT_EQ(
        Parse(other.service->Post(Endpoint::kInit, CallBody(key, "init", {}), kBase))["errcode"],
        "0");
    const HandshakeKeys stranger("another secret");
    EXPECT_EQ(Parse(other.service->Post(Endpoint::kInit,
                                        CallBody(stranger.KeyAt(other.clock.now), "init", {}),
                                        kBase))["errcode"],
              "3");
}

TEST(AppService, NewestDrawSealsEightFieldsMatchingTheNewestPeriodText) {
    ServiceFixture f;
    for (const std::vector<std::string>& params :
         {std::vector<std::string>{}, std::vector<std::string>{"token"}}) {
        const HttpReply reply = f.Call(Endpoint::kDraw, "newestdraw", params, 77);
        EXPECT_EQ(Parse(reply)["errcode"], "0");
        const Json payload = ServiceFixture::OpenedData(reply, 77);
        ASSERT_TRUE(payload.is_object()) << reply.body;
        const std::vector<std::string> fields =
            SplitText(payload["data"].get<std::string>(), "| |");
        ASSERT_EQ(fields.size(), 8u);
        const DrawRow newest = f.simulator.Newest(f.clock.now);
        EXPECT_EQ(fields, (std::vector<std::string>{"jlk3", "20240105042", "2024-01-05 15:20:00",
                                                    newest.numbers, newest.seed, "jlk3",
                                                    "20240105043", "2024-01-05 15:30:00"}));
    }
    const HttpReply period = f.service->NewestPeriod();
    EXPECT_EQ(period.body, "20240105042");
    EXPECT_EQ(period.contentType, "text/plain; charset=utf-8");
}

TEST(AppService, DrawListsNestADocumentTheClientCutsRowsFrom) {
    ServiceFixture f;
    struct Case {
        const char* function;
        std::vector<std::string> params;
        std::vector<DrawRow> expected;
    };
    const Case cases[] = {
        {"select_draw", {"", "50"}, f.simulator.Recent(f.clock.now, 50)},
        {"select_draw", {"tok", "3"}, f.simulator.Recent(f.clock.now, 3)},
        {"select_draw", {"", "100000"}, f.simulator.Recent(f.clock.now, 1000)},
        {"select_draw_date", {"", "2024-1-5"}, f.simulator.OnDate(f.clock.now, {2024, 1, 5})},
        {"select_draw_date", {"", "2024-01-04"}, f.simulator.OnDate(f.clock.now, {2024, 1, 4})},
        {"select_draw_date", {"", "2024-1-6"}, {}},
    };
    for (const Case& c : cases) {
        const HttpReply reply = f.Call(Endpoint::kDraw, c.function, c.params);
        // The body is a document whose data is a string holding a second document,
        // members in order, data last, holding the rows.
        const Json outer = Parse(reply);
        ASSERT_EQ(outer["errcode"], "0") << reply.body;
        ASSERT_TRUE(outer["data"].is_string());
        const Json inner = Json::parse(outer["data"].get<std::string>());
        std::vector<std::string> members;
        for (const auto& [name, value] : inner.items()) members.push_back(name);
        EXPECT_EQ(members, (std::vector<std::string>{"errcode", "msg", "data"}));

        std::string expected;
        for (const DrawRow& row : c.expected) {
            if (!expected.empty()) expected += "\r\n";
            expected += JoinDrawRow(row);
        }
        EXPECT_EQ(inner["data"], expected);
        EXPECT_EQ(test::CutDrawList(reply.body), expected) << c.function << " " << c.params[1];
    }
    EXPECT_EQ(SplitText(test::CutDrawList(f.Call(Endpoint::kDraw, "select_draw", {"", "50"}).body),
                        "\r\n")
                  .size(),
              50u);
}

TEST(AppService, GetInitAndGetForecastAnswerTheirPayloads) {
    ServiceFixture f;
    const Json init = ServiceFixture::OpenedData(f.Call(Endpoint::kDraw, "getInit", {"tok"}));
    EXPECT_EQ(init["data"], AppServiceConfig{}.scheduleText);

    // Plain data: an object with one text per key; Chinese keys travel escaped.
    const HttpReply reply =
        f.Call(Endpoint::kDraw, "getforecast", {"", "20240105043", "和值大小", "k2", "k2"});
    const Json forecast = Parse(reply)["data"];
    ASSERT_TRUE(forecast.is_object()) << reply.body;
    EXPECT_EQ(forecast.size(), 2u);
    for (const char* key : {"和值大小", "k2"}) {
        EXPECT_TRUE(forecast[key] == "大" || forecast[key] == "小") << forecast.dump();
    }
    EXPECT_EQ(f.Call(Endpoint::kDraw, "getforecast", {"", "20240105043", "和值大小"}).body,
              f.Call(Endpoint::kDraw, "getforecast", {"", "20240105043", "和值大小"}).body);
    EXPECT_TRUE(Parse(f.Call(Endpoint::kDraw, "getforecast", {"", ""}))["data"].empty());
}

TEST(AppService, RefusesBadRequestsWithACodeAndAMessage) {
    ServiceFixture f;
    const std::string key = f.Key();
    const std::string good = CallBody(key, "init", {});
    std::string unsealedHex = good.substr(5);
    unsealedHex.back() = unsealedHex.back() == 'A' ? 'B' : 'A';
    struct Case {
        const char* what;
        Endpoint endpoint;
        std::string body;
        const char* errcode;
    };
    const Case cases[] = {
        {"no body", Endpoint::kInit, "", "1"},
        {"no DATA field", Endpoint::kInit, "X=1&Y=2", "1"},
        {"DATA in another field's value", Endpoint::kInit, "X=DATA=1", "1"},
        {"bad escape", Endpoint::kInit, "DATA=%zz", "1"},
        {"empty DATA", Endpoint::kInit, "DATA=", "2"},
        {"not hex", Endpoint::kInit, "DATA=GETRAND", "2"},
        {"odd hex", Endpoint::kInit, "DATA=ABC", "2"},
        {"garbage hex", Endpoint::kInit, "DATA=" + std::string(4096, 'F'), "3"},
        {"changed cipher text", Endpoint::kInit, "DATA=" + unsealedHex, "3"},
        {"unknown key", Endpoint::kInit, CallBody("0123456789abcdef", "init", {}), "3"},
        {"not JSON", Endpoint::kInit, CallBodyOfText(key, "init please"), "3"},
        {"JSON array", Endpoint::kInit, CallBodyOfText(key, "[1,2]"), "3"},
        {"invalid UTF-8", Endpoint::kInit,
         CallBodyOfText(key,
                        "{\"rand\":\"1\",\"funname\":\"init\",\"appid\":\"2111\","
                        "\"param\":[\"\xFF\"]}"),
         "3"},
        {"no funname", Endpoint::kInit,
         CallBodyOfText(key, "{\"rand\":\"1\",\"appid\":\"2111\",\"param\":[]}"), "4"},
        {"no param", Endpoint::kInit,
         CallBodyOfText(key, "{\"rand\":\"1\",\"funname\":\"init\",\"appid\":\"2111\"}"), "4"},
        // A missing member read beside four present ones (the document's members then
        // fill their storage): looking it up must not disturb the members already read.
        {"param misspelt", Endpoint::kInit,
         CallBodyOfText(key,
                        "{\"funname\":\"init\",\"rand\":\"1\",\"appid\":\"2111\",\"parma\":[]}"),
         "4"},
        {"rand misspelt", Endpoint::kInit,
         CallBodyOfText(key,
                        "{\"funname\":\"init\",\"param\":[],\"appid\":\"2111\",\"rnd\":\"1\"}"),
         "4"},
        {"numeric param", Endpoint::kInit,
         CallBodyOfText(key,
                        "{\"rand\":\"1\",\"funname\":\"init\",\"appid\":\"2111\",\"param\":[5]}"),
         "4"},
        {"rand zero", Endpoint::kInit, CallBody(key, "init", {}, 0), "0"},
        {"rand text", Endpoint::kInit,
         CallBodyOfText(key,
                        "{\"rand\":\"x1\",\"funname\":\"init\",\"appid\":\"2111\",\"param\":[]}"),
         "4"},
        {"huge rand", Endpoint::kInit,
         CallBodyOfText(key,
                        "{\"rand\":\"99999999999\",\"funname\":\"init\",\"appid\":\"2111\","
                        "\"param\":[]}"),
         "4"},
        {"other app", Endpoint::kInit, CallBody(key, "init", {}, 1, "2112"), "5"},
        {"app id text", Endpoint::kInit, CallBody(key, "init", {}, 1, "2111x"), "4"},
        {"unknown function", Endpoint::kDraw, CallBody(key, "drop_tables", {}), "6"},
        {"init at the data address", Endpoint::kDraw, CallBody(key, "init", {}), "7"},
        {"data at the init address", Endpoint::kInit, CallBody(key, "newestdraw", {}), "7"},
        {"no count", Endpoint::kDraw, CallBody(key, "select_draw", {""}), "8"},
        {"count zero", Endpoint::kDraw, CallBody(key, "select_draw", {"", "0"}), "8"},
        {"count text", Endpoint::kDraw, CallBody(key, "select_draw", {"", "fifty"}), "8"},
        {"bad date", Endpoint::kDraw, CallBody(key, "select_draw_date", {"", "2024-13-1"}), "8"},
        {"no period", Endpoint::kDraw, CallBody(key, "getforecast", {""}), "8"},
    };
    int refused = 0;
    for (const Case& c : cases) {
        const int code = std::stoi(c.errcode);
        if (code >= 1 && code <= 7) ++refused;
        const HttpReply reply = f.service->Post(c.endpoint, c.body, kBase);
        const Json json = Parse(reply);
        ASSERT_TRUE(json.is_object()) << c.what << ": " << reply.body;
        EXPECT_EQ(json["errcode"], c.errcode) << c.what << ": " << reply.body;
        EXPECT_EQ(reply.status, 200) << c.what;
        if (std::string(c.errcode) != "0") {
            EXPECT_FALSE(json["msg"].get<std::string>().empty()) << c.what;
            EXPECT_EQ(json["data"], "") << c.what;
        }
    }
    // Refusals before a function is known are counted apart from the functions.
    EXPECT_EQ(Parse(f.service->Stats())["refused"], refused);
}

TEST(AppService, FaultsBreakTheRepliesTheyName) {
    struct Case {
        const char* ruleList;
        const char* function;  // "handshake" for the handshake itself
        const char* expected;  // the body, or the errcode when it starts with "errcode:"
    };
    const Case cases[] = {
        {"empty:handshake", "handshake", ""},
        {"broken:handshake", "handshake", "broken"},
        {"refuse:handshake", "handshake", "errcode:10"},
        {"badseal:handshake", "handshake", "badkey"},
        {"empty:init", "init", ""},
        {"broken:newestdraw", "newestdraw", "broken"},
        {"refuse:select_draw", "select_draw", "errcode:10"},
        {"badseal:init", "init", "unopenable"},
        {"emptydata:init", "init", "emptydata"},
        {"baddata:newestdraw", "newestdraw", "baddata"},
        {"baddata:getforecast", "getforecast", "baddata"},
        {"emptydata:select_draw", "select_draw", "emptydata"},
    };
    for (const Case& c : cases) {
        ServiceFixture f(c.ruleList);
        const std::string function = c.function;
        const std::string key = f.keys.KeyAt(f.clock.now);
        const Endpoint endpoint = function == "init" ? Endpoint::kInit : Endpoint::kDraw;
        const std::vector<std::string> params = {"", "20240105043"};
        const HttpReply reply =
            function == "handshake"
                ? f.service->Post(endpoint, test::HandshakeBody(), kBase)
                : f.service->Post(endpoint, CallBody(key, function, params), kBase);
        const std::string expected = c.expected;
        const Json json = Parse(reply);
        if (expected.empty()) {
            EXPECT_EQ(reply.body, "") << c.ruleList;
        } else if (expected == "broken") {
            EXPECT_TRUE(json.is_discarded()) << c.ruleList << ": " << reply.body;
        } else if (expected.rfind("errcode:", 0) == 0) {
            EXPECT_EQ(json["errcode"], expected.substr(8)) << c.ruleList;
        } else if (expected == "badkey") {
            EXPECT_EQ(json["errcode"], "0");
            EXPECT_NE(test::KeyOfHandshakeReply(reply.body), key) << c.ruleList;
        } else {
            ASSERT_EQ(json["errcode"], "0") << c.ruleList << ": " << reply.body;
            const bool sealed = function == "init" || function == "newestdraw";
            const std::string data = json["data"].get<std::string>();
            const std::string opened = sealed ? OpenData(data, 4821) : data;
            if (expected == "emptydata") {
                EXPECT_EQ(data, "") << c.ruleList;
            } else if (expected == "baddata") {
                EXPECT_EQ(opened, "abc") << c.ruleList;
            } else {
                EXPECT_TRUE(Json::parse(opened, nullptr, false).is_discarded()) << c.ruleList;
            }
        }
    }
}

// The shape faults change the number of fields and nothing else.
TEST(AppService, ShapeFaultsChangeTheFieldsOfTheNewestDrawAndTheFirstListRow) {
    ServiceFixture plain;
    const std::vector<std::string> healthy =
        SplitText(ServiceFixture::OpenedData(plain.Call(Endpoint::kDraw, "newestdraw"))["data"]
                      .get<std::string>(),
                  "| |");
    ASSERT_EQ(healthy.size(), 8u);
    struct Case {
        const char* ruleList;
        std::vector<std::string> fields;
    };
    std::vector<std::string> seven(healthy.begin(), healthy.end() - 1);
    std::vector<std::string> nine = healthy;
    nine.push_back(healthy.back());
    std::vector<std::string> undated = healthy;
    undated.back() = "不是日期";
    for (const Case& c :
         {Case{"fewerfields:newestdraw", seven}, Case{"morefields:newestdraw", nine},
          Case{"baddate:newestdraw", undated}}) {
        ServiceFixture f(c.ruleList);
        const Json payload = ServiceFixture::OpenedData(f.Call(Endpoint::kDraw, "newestdraw"));
        ASSERT_TRUE(payload.is_object()) << c.ruleList;
        EXPECT_EQ(SplitText(payload["data"].get<std::string>(), "| |"), c.fields) << c.ruleList;
    }

    const std::vector<std::string> rows = SplitText(
        test::CutDrawList(plain.Call(Endpoint::kDraw, "select_draw", {"", "3"}).body), "\r\n");
    ASSERT_EQ(rows.size(), 3u);
    const std::string seed = SplitText(rows[0], "|+|").back();
    struct ListCase {
        const char* ruleList;
        const char* function;
        std::string firstRow;
    };
    for (const ListCase& c :
         {ListCase{"fewerfields:select_draw", "select_draw",
                   rows[0].substr(0, rows[0].rfind("|+|"))},
          ListCase{"morefields:select_draw", "select_draw", rows[0] + "|+|" + seed}}) {
        ServiceFixture f(c.ruleList);
        const std::vector<std::string> cut = SplitText(
            test::CutDrawList(f.Call(Endpoint::kDraw, c.function, {"", "3"}).body), "\r\n");
        EXPECT_EQ(cut, (std::vector<std::string>{c.firstRow, rows[1], rows[2]})) << c.ruleList;
    }
    ServiceFixture dated("fewerfields:select_draw_date");
    const std::vector<std::string> day = SplitText(
        test::CutDrawList(dated.Call(Endpoint::kDraw, "select_draw_date", {"", "2024-1-5"}).body),
        "\r\n");
    ASSERT_FALSE(day.empty());
    EXPECT_EQ(SplitText(day[0], "|+|").size(), 4u);
    EXPECT_EQ(SplitText(day[1], "|+|").size(), 5u);
}

TEST(AppService, RefusesInitTheFirstTimesThenAnswersAndCountsEveryCall) {
    ServiceFixture f("refuse:init=2,slow:init=250");
    std::vector<std::string> codes;
    for (int i = 0; i < 3; ++i) {
        const HttpReply reply = f.Call(Endpoint::kInit, "init");
        EXPECT_EQ(reply.delayMs, 250);
        codes.push_back(Parse(reply)["errcode"]);
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"10", "10", "0"}));
    const Json stats = Parse(f.service->Stats());
    EXPECT_EQ(stats["init"], 3);
    EXPECT_EQ(stats["handshake"], 3);
    EXPECT_EQ(stats["refused"], 0);
}

TEST(AppService, PagesAndTheirFaults) {
    {
        ServiceFixture f;
        const HttpReply advert = f.service->AdvertPage();
        EXPECT_EQ(advert.contentType, "text/html; charset=utf-8");
        EXPECT_NE(advert.body.find("<html lang=\"zh-CN\">"), std::string::npos);
        EXPECT_NE(advert.body.find("20240105042"), std::string::npos);
        EXPECT_NE(advert.body.find("2024-01-05 15:30:00"), std::string::npos);
        EXPECT_NE(advert.body.find("彩票有风险，投注需谨慎！"), std::string::npos);
        EXPECT_EQ(f.service->UpdateDownload().body, "UPDATE-BYTES");
        EXPECT_EQ(f.service->UpdateDownload().contentType, "application/octet-stream");
    }
    ServiceFixture f("empty:newphase=1,broken:update,refuse:advert");
    EXPECT_EQ(f.service->NewestPeriod().body, "");
    EXPECT_EQ(f.service->NewestPeriod().body, "20240105042");
    EXPECT_EQ(f.service->UpdateDownload().body, "UPDATE");
    EXPECT_EQ(f.service->AdvertPage().status, 503);
    const Json stats = Parse(f.service->Stats());
    EXPECT_EQ(stats["newphase"], 2);
    EXPECT_EQ(stats["update"], 1);
}

TEST(AppService, HttpRefusalsKeepTheProtocolShape) {
    for (const auto& [status, errcode] : std::vector<std::pair<int, std::string>>{
             {404, "11"}, {413, "9"}, {400, "1"}, {500, "12"}}) {
        const HttpReply reply = AppService::HttpRefusal(status);
        EXPECT_EQ(reply.status, status);
        EXPECT_EQ(Parse(reply)["errcode"], errcode);
    }
}

}  // namespace
}  // namespace veltra
