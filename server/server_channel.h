// One application-server endpoint: calls a named server function with text
// parameters through the handshake and the two-layer RC4 envelope, and hands back
// the reply (or its payload) in a reply document. Failures are results: false or an
// empty text, with an error code and message left in the caller's reply document.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "server/hex_text.h"
#include "server/http_transport.h"
#include "server/json_array.h"
#include "server/json_object.h"
#include "server/json_reply.h"

namespace veltra {

class ServerChannel {
  public:
    // The error code and messages of replies made by the channel itself.
    static constexpr std::string_view kErrorCode = "9999";
    static constexpr std::string_view kUnreachable = "服务器访问失败!";
    static constexpr std::string_view kBadReply = "服务器访问错误!";
    static constexpr std::string_view kBadPayload = "服务器访问错误!2";

    ServerChannel(JsonService& json, const HttpTransport& transport, Clock& clock);
    ServerChannel(const ServerChannel&) = delete;
    ServerChannel& operator=(const ServerChannel&) = delete;

    // Every request of this channel goes to url, on behalf of application appId.
    void SetEndpoint(std::string_view endpointUrl, int32_t applicationId);
    // CallForData with the parameters p1, p2, ... up to the first empty one.
    bool CallWithParams(JsonReply& reply, std::string_view funName, std::string_view p1 = {},
                        std::string_view p2 = {}, std::string_view p3 = {},
                        std::string_view p4 = {}, std::string_view p5 = {}, bool plain = false);
    // Call, then the reply document is replaced by the reply's "data" member, read
    // as JSON (decrypted first unless plain). An empty "data" is success with the
    // whole reply kept. A payload that is not JSON fails with "9999" / kBadPayload.
    bool CallForData(JsonReply& reply, std::string_view funName,
                     const std::vector<std::string>& params, bool plain);
    // One call: handshake, encrypted request, reply parsed into `reply`. True exactly
    // when the reply's "errcode" reads as "0". replyText and rand are handed back
    // whenever a reply text arrived; the reply document always holds the server's
    // reply or the channel's error reply.
    bool Call(std::string& replyText, std::string_view funName,
              const std::vector<std::string>& params, int& rand, JsonReply& reply);
    // Replaces the reply document by {"errcode", "msg", "data"}, all strings.
    void SetErrorReply(JsonReply& reply, std::string_view errCode, std::string_view msg,
                       std::string_view data = {}) const;
    std::string Post(std::string_view postUrl, std::string_view body) const;
    std::string Get(std::string_view getUrl) const;
    // The last four decimal digits of uptime milliseconds plus Unix seconds: 0..9999.
    int NewRand();
    // A new handshake key from the endpoint; empty on failure, the reply document
    // then holding the refusal or the channel's error reply.
    std::string FetchHandshakeKey(JsonReply& reply);
    // The text of an encrypted data member; empty when it is not UTF-8 text.
    std::string DecryptData(std::string_view data, int rand) const;
    std::string EncryptRequest(std::string_view escapedRequest,
                               std::string_view handshakeKey) const;
    std::string DataKeyText(int rand) const;
    // Decimal digits of a time given in Unix seconds.
    std::string UnixSecondsText(int64_t unixSeconds) const;
    std::string HexToBytes(std::string_view hex) const;
    int64_t ParseNumber(std::string_view digits, int baseCode = kBase10) const;
    std::string BytesToHex(std::string_view bytes) const;

    const std::string& Url() const { return url; }
    int32_t AppId() const { return appId; }

  private:
    std::string url;
    JsonObject request;
    JsonArray params;
    int32_t appId = 0;

    const HttpTransport* transport;
    Clock* clock;
};

}  // namespace veltra
