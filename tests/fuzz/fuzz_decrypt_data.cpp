// Encrypted texts as they arrive: a data member opened by the channel for a call's
// rand, a handshake key, and a request opened by the local application server; plus
// the round trips of sealing and opening.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "base/gbk_text.h"
#include "server/envelope_codec.h"
#include "server/http_transport.h"
#include "server/json_service.h"
#include "server/server_channel.h"
#include "server/url_escape.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/manual_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    static JsonService json;
    static const HttpTransport transport;
    static test::ManualClock clock;
    static ServerChannel channel(json, transport, clock);

    // The first four bytes choose the call's rand, the rest is the member's text.
    int32_t rand = 0;
    if (size >= sizeof rand) {
        std::memcpy(&rand, data, sizeof rand);
        data += sizeof rand;
        size -= sizeof rand;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::string plain = channel.DecryptData(text, rand);
    FUZZ_CHECK(IsValidUtf8(plain));

    const std::string key = OpenHandshakeKey(text);
    FUZZ_CHECK(key.find('\0') == std::string::npos);

    const std::string handshakeKey = "0123456789abcdef";
    if (const std::optional<std::string> escaped = DecryptRequest(text, handshakeKey)) {
        UrlUnescape(*escaped);
    }

    // What the server seals, the channel opens unchanged; the same for requests.
    if (IsValidUtf8(text)) FUZZ_CHECK(channel.DecryptData(SealData(text, rand), rand) == text);
    FUZZ_CHECK(DecryptRequest(EncryptRequest(text, handshakeKey), handshakeKey) ==
               std::optional<std::string>(std::string(text)));
    FUZZ_CHECK(UrlUnescape(UrlEscapeUtf8(text)) == std::optional<std::string>(std::string(text)));
    return 0;
}
