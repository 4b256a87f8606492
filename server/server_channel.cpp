// The request envelope and the reply rules of a server channel.
#include "server/server_channel.h"

#include "base/gbk_text.h"
#include "base/text_integer.h"
#include "server/envelope_codec.h"
#include "server/url_escape.h"

namespace veltra {

ServerChannel::ServerChannel(JsonService& json, const HttpTransport& httpTransport,
                             Clock& systemClock)
    : request(json), params(json), transport(&httpTransport), clock(&systemClock) {}

void ServerChannel::SetEndpoint(std::string_view endpointUrl, int32_t applicationId) {
    url = std::string(endpointUrl);
    appId = applicationId;
}

bool ServerChannel::CallWithParams(JsonReply& reply, std::string_view funName, std::string_view p1,
                                   std::string_view p2, std::string_view p3, std::string_view p4,
                                   std::string_view p5, bool plain) {
    std::vector<std::string> list;
    for (const std::string_view p : {p1, p2, p3, p4, p5}) {
        if (p.empty()) break;
        list.emplace_back(p);
    }
    return CallForData(reply, funName, list, plain);
}

bool ServerChannel::CallForData(JsonReply& reply, std::string_view funName,
                                const std::vector<std::string>& list, bool plain) {
    std::string replyText;
    int rand = 0;
    if (!Call(replyText, funName, list, rand, reply)) return false;
    const std::string data = reply.GetMemberText("data");
    if (data.empty()) return true;
    if (!reply.Parse(plain ? data : DecryptData(data, rand))) {
        SetErrorReply(reply, kErrorCode, kBadPayload);
        return false;
    }
    return true;
}

bool ServerChannel::Call(std::string& replyText, std::string_view funName,
                         const std::vector<std::string>& list, int& rand, JsonReply& reply) {
    const int callRand = NewRand();
    const std::string key = FetchHandshakeKey(reply);
    if (key.empty()) return false;

    request.Create();
    request.SetMember("rand", std::to_string(callRand));
    request.SetMember("funname", funName);
    request.SetMember("appid", std::to_string(appId));
    params.Create();
    for (const std::string& p : list) params.AddElement(p);
    request.SetMemberDocument("param", params);

    reply.Create();
    const std::string body = "DATA=" + EncryptRequest(UrlEscapeUtf8(request.ToText()), key);
    std::string bytes = Post(url, body);
    if (bytes.empty()) {
        SetErrorReply(reply, kErrorCode, kUnreachable);
        return false;
    }
    // Reply bodies are UTF-8, the program's own text encoding; anything else is as
    // unreadable as a reply that does not parse.
    if (!IsValidUtf8(bytes)) {
        SetErrorReply(reply, kErrorCode, kBadReply);
        return false;
    }
    replyText = std::move(bytes);
    rand = callRand;
    if (!reply.Parse(replyText)) {
        SetErrorReply(reply, kErrorCode, kBadReply);
        return false;
    }
    return reply.GetMemberText("errcode") == "0";
}

void ServerChannel::SetErrorReply(JsonReply& reply, std::string_view errCode, std::string_view msg,
                                  std::string_view data) const {
    reply.Create();
    reply.SetMember("errcode", errCode);
    reply.SetMember("msg", msg);
    reply.SetMember("data", data);
}

std::string ServerChannel::Post(std::string_view postUrl, std::string_view body) const {
    return transport->Post(postUrl, body);
}

std::string ServerChannel::Get(std::string_view getUrl) const {
    return transport->Get(getUrl);
}

int ServerChannel::NewRand() {
    const int64_t t = clock->UptimeMilliseconds();
    const int64_t s = IntegerOfText(UnixSecondsText(clock->NowUnixSeconds()));
    std::string digits = std::to_string(t + s);
    // The uptime counter is signed and may make the sum negative: the sign is no
    // digit, so the result stays within 0..9999 and its data key a plain number.
    if (!digits.empty() && digits.front() == '-') digits.erase(0, 1);
    if (digits.size() > 4) digits.erase(0, digits.size() - 4);
    return static_cast<int>(IntegerOfText(digits));
}

std::string ServerChannel::FetchHandshakeKey(JsonReply& reply) {
    const std::string text = Post(url, "DATA=GETRAND?" + UnixSecondsText(clock->NowUnixSeconds()));
    if (text.empty()) {
        SetErrorReply(reply, kErrorCode, kUnreachable);
        return {};
    }
    if (!reply.Parse(text)) {
        SetErrorReply(reply, kErrorCode, kBadReply);
        return {};
    }
    if (reply.GetMemberText("errcode") != "0") return {};
    return OpenHandshakeKey(reply.GetMemberText("data"));
}

std::string ServerChannel::DecryptData(std::string_view data, int rand) const {
    std::string plain = OpenData(data, rand);
    if (!IsValidUtf8(plain)) return {};
    return plain;
}

std::string ServerChannel::EncryptRequest(std::string_view escapedRequest,
                                          std::string_view handshakeKey) const {
    return veltra::EncryptRequest(escapedRequest, handshakeKey);
}

std::string ServerChannel::DataKeyText(int rand) const {
    return veltra::DataKeyText(rand);
}

std::string ServerChannel::UnixSecondsText(int64_t unixSeconds) const {
    return std::to_string(unixSeconds);
}

std::string ServerChannel::HexToBytes(std::string_view hex) const {
    return veltra::HexToBytes(hex);
}

int64_t ServerChannel::ParseNumber(std::string_view digits, int baseCode) const {
    return veltra::ParseNumber(digits, baseCode);
}

std::string ServerChannel::BytesToHex(std::string_view bytes) const {
    return veltra::BytesToHex(bytes);
}

}  // namespace veltra
