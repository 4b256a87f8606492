// Reply bodies of the draw-list calls: the list cut out of the body text, then read as
// a draw table.
#include <cstddef>
#include <cstdint>
#include <string>

#include "draws/draw_table.h"
#include "platform/headless/headless_window_system.h"
#include "server/app_server_client.h"
#include "server/http_transport.h"
#include "server/json_service.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/manual_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    static JsonService json;
    static const HttpTransport transport;
    static test::ManualClock clock;
    static HeadlessWindowSystem windows;
    static const AppServerClient client(json, transport, clock, windows);

    const std::string original(reinterpret_cast<const char*>(data), size);
    std::string body = original;
    const std::string list = client.ExtractDrawText(body);
    // The cut is a piece of the body; the list is the cut with its line breaks restored.
    FUZZ_CHECK(original.find(body) != std::string::npos);
    FUZZ_CHECK(list.size() <= body.size());
    FUZZ_CHECK(list.find("\\\\r\\\\n") == std::string::npos);
    if (body.empty()) FUZZ_CHECK(list.empty());

    DrawTable table;
    const bool parsed = ParseDrawTable(list, table);
    FUZZ_CHECK(parsed == !list.empty());
    return 0;
}
