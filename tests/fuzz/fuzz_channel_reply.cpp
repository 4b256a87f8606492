// Whole server calls answered from the fuzzer's bytes: a stand-in transport hands the
// channel a handshake reply and a call reply (raw, or wrapped the way the server wraps
// data: sealed for the call's rand, as a plain text, or as a nested draw list), and
// one of the client's operations reads it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draws/client_draw_source.h"
#include "draws/draw_table.h"
#include "draws/period_clock.h"
#include "platform/headless/headless_window_system.h"
#include "server/app_server_client.h"
#include "server/envelope_codec.h"
#include "server/http_transport.h"
#include "server/json_service.h"
#include "server/server_channel.h"
#include "server/url_escape.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

// Members keep the order they are written in, as the server sends them: the client
// cuts a draw list out of the body by the inner document's data member coming last.
using Json = nlohmann::ordered_json;

std::string Dump(const Json& json) {
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

constexpr std::string_view kHandshakeKey = "0123456789abcdef";

enum class Wrap { kRaw, kSealed, kPlainText, kDrawList, kCount };

class ReplayTransport : public HttpTransport {
  public:
    std::string Post(std::string_view, std::string_view body) const override {
        if (body.rfind("DATA=GETRAND?", 0) == 0) return handshakeReply;
        ++calls;
        return Reply(RandOf(body));
    }
    std::string Get(std::string_view) const override { return Reply(0); }
    std::string PlainGet(std::string_view) const override { return payload; }

    std::string handshakeReply;
    std::string payload;
    Wrap wrap = Wrap::kRaw;
    mutable int calls = 0;

  private:
    // The rand the channel put into its request, read as the server reads it.
    static int64_t RandOf(std::string_view body) {
        if (body.rfind("DATA=", 0) != 0) return 0;
        const std::optional<std::string> escaped = DecryptRequest(body.substr(5), kHandshakeKey);
        if (!escaped) return 0;
        const std::optional<std::string> text = UrlUnescape(*escaped);
        if (!text) return 0;
        const Json request = Json::parse(*text, nullptr, false);
        if (!request.is_object() || !request["rand"].is_string()) return 0;
        return std::stoll(request["rand"].get<std::string>());
    }

    std::string Reply(int64_t rand) const {
        switch (wrap) {
            case Wrap::kSealed:
                return Dump({{"errcode", "0"}, {"msg", "ok"}, {"data", SealData(payload, rand)}});
            case Wrap::kPlainText:
                return Dump({{"errcode", "0"}, {"msg", "ok"}, {"data", payload}});
            case Wrap::kDrawList: {
                const Json inner = {{"errcode", "0"}, {"msg", "ok"}, {"data", payload}};
                return Dump({{"errcode", "0"}, {"msg", "ok"}, {"data", Dump(inner)}});
            }
            default:
                return payload;
        }
    }
};

void FuzzOne(JsonService& json, FuzzedDataProvider& input) {
    ReplayTransport transport;
    test::ManualClock clock;
    clock.uptimeStep = input.ConsumeIntegral<int32_t>();
    HeadlessWindowSystem windows;

    transport.wrap = static_cast<Wrap>(input.ConsumeIntegralInRange<int>(0, 3));
    const int operation = input.ConsumeIntegralInRange<int>(0, 10);
    transport.handshakeReply =
        input.ConsumeBool()
            ? input.ConsumeRandomLengthString(256)
            : Dump({{"errcode", "0"}, {"msg", "ok"}, {"data", SealHandshakeKey(kHandshakeKey)}});
    transport.payload = input.ConsumeRemainingBytesAsString();

    AppServerClient client(json, transport, clock, windows);
    client.DataChannel().SetEndpoint("http://127.0.0.1:1/draw.php", 2111);
    ServerChannel& channel = client.DataChannel();
    JsonReply reply(json);
    std::string replyText;
    int rand = -1;
    DrawTable table;
    std::vector<std::string> fields;
    std::string text;
    bool ok = false;
    switch (operation) {
        case 0:
            ok = channel.CallForData(reply, "newestdraw", {"token"}, false);
            break;
        case 1:
            ok = channel.CallForData(reply, "getforecast", {"token", "k"}, true);
            break;
        case 2:
            ok = channel.Call(replyText, "select_draw", {"token", "50"}, rand, reply);
            // The reply text and the rand are handed back together, or neither.
            FUZZ_CHECK((rand == -1) == replyText.empty());
            break;
        case 3:
            ok = client.NewestDraw(fields);
            FUZZ_CHECK(!ok || !fields.empty());
            break;
        case 4:
            ok = client.SelectDraw(50, table);
            break;
        case 5:
            ok = client.SelectDrawDate("2024-01-05", table);
            break;
        case 6:
            ok = client.GetInit(text);
            FUZZ_CHECK(!ok || !text.empty());
            break;
        case 7:
            ok = client.GetForecast("k", {"a", "b"}, fields);
            FUZZ_CHECK(!ok || fields.size() == 2);
            break;
        case 8:
            ok = client.Init("http://127.0.0.1:1/appinit.php", 2111);
            FUZZ_CHECK(ok || !client.LastError().empty());
            break;
        case 9:
            text = client.NewestPeriod();
            FUZZ_CHECK(!text.empty() || !client.LastError().empty());
            break;
        default: {
            ClientDrawSource source(client);
            PeriodClock periodClock(source, clock);
            DrawSnapshot snapshot;
            ok = periodClock.Poll(snapshot);
            periodClock.RemainingText();
            break;
        }
    }
    // A failed call always leaves an error code for the caller's message.
    if (!ok && operation <= 2) FUZZ_CHECK(!reply.IsInvalid());
    if (!ok && (operation == 4 || operation == 5)) FUZZ_CHECK(!client.LastError().empty());
    // Whatever came back, the documents still read.
    reply.ErrCode();
    reply.Msg();
    client.DataReply().ErrCode();
    client.DataReply().ToText();
    for (int row = 1; row <= table.Rows(); ++row) {
        for (int column = 1; column <= table.Columns(); ++column) table.Cell(row, column);
    }
}

}  // namespace
}  // namespace veltra

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static veltra::JsonService json;
    FuzzedDataProvider input(data, size);
    veltra::FuzzOne(json, input);
    // The channel, the client and every reply are gone: no value may be left behind.
    FUZZ_CHECK(json.LiveValueCount() == 0);
    return 0;
}
