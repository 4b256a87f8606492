// Request bodies reaching the local application server: either the fuzzer's bytes as
// they are, or the fuzzer's text as the request document, sealed with a handshake key
// the server accepts, so the decoding past the envelope is reached. Every body is
// answered with a reply envelope, and no request makes the server fail inside.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "appserver/app_service.h"
#include "appserver/draw_simulator.h"
#include "appserver/fault_plan.h"
#include "appserver/fixed_offset_zone.h"
#include "appserver/handshake_keys.h"
#include "server/envelope_codec.h"
#include "server/url_escape.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/manual_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    using Json = nlohmann::ordered_json;
    static const FixedOffsetZone zone(8 * 3600);
    static const DrawSimulator simulator(zone, 7);
    static const HandshakeKeys keys("fuzz secret");
    if (size == 0) return 0;

    // The first byte: bit 0 seals the rest as a request document, bit 1 sends it to
    // the data address instead of the initialisation address.
    const uint8_t mode = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    test::ManualClock clock;
    clock.now = 1704439500;
    FaultPlan faults;
    AppServiceConfig config;
    config.maxDrawRows = 100;
    AppService service(clock, simulator, keys, faults, config);

    const std::string body =
        (mode & 1) != 0 ? "DATA=" + EncryptRequest(UrlEscapeUtf8(rest), keys.KeyAt(clock.now))
                        : std::string(rest);
    const auto endpoint =
        (mode & 2) != 0 ? AppService::Endpoint::kDraw : AppService::Endpoint::kInit;
    const HttpReply reply = service.Post(endpoint, body, "http://127.0.0.1:4242");

    FUZZ_CHECK(reply.status == 200);
    const Json envelope = Json::parse(reply.body, nullptr, false);
    FUZZ_CHECK(envelope.is_object());
    FUZZ_CHECK(envelope.contains("errcode") && envelope["errcode"].is_string());
    FUZZ_CHECK(envelope.contains("msg") && envelope["msg"].is_string());
    FUZZ_CHECK(envelope.contains("data"));
    // Errcode 12 is the answer to an exception inside the server: a request may be
    // refused, never break it.
    FUZZ_CHECK(envelope["errcode"] != "12");
    return 0;
}
