// Client-side envelope for the server tests.
#include "tests/appserver/wire_client.h"

#include <nlohmann/json.hpp>

#include "base/text_split.h"
#include "server/envelope_codec.h"
#include "server/url_escape.h"

namespace veltra::test {

std::string HandshakeBody(int64_t seconds) {
    return "DATA=GETRAND?" + std::to_string(seconds);
}

std::string KeyOfHandshakeReply(std::string_view body) {
    const nlohmann::json reply = nlohmann::json::parse(body, nullptr, false);
    if (!reply.is_object() || !reply.contains("data") || !reply["data"].is_string()) return {};
    return OpenHandshakeKey(reply["data"].get<std::string>());
}

std::string CallBody(std::string_view handshakeKey, std::string_view funname,
                     const std::vector<std::string>& params, int64_t rand, std::string_view appid) {
    nlohmann::ordered_json request;
    request["rand"] = std::to_string(rand);
    request["funname"] = std::string(funname);
    request["appid"] = std::string(appid);
    request["param"] = nlohmann::ordered_json::array();
    for (const std::string& param : params) request["param"].push_back(param);
    return CallBodyOfText(handshakeKey, request.dump());
}

std::string CallBodyOfText(std::string_view handshakeKey, std::string_view requestText) {
    return "DATA=" + EncryptRequest(UrlEscapeUtf8(requestText), handshakeKey);
}

std::string CutDrawList(std::string_view body) {
    const size_t a = body.find("data\\");
    const size_t b = body.rfind("\"}\"");
    if (a == std::string_view::npos || b == std::string_view::npos || b < a + 10) return {};
    return ReplaceAll(body.substr(a + 9, b - a - 10), "\\\\r\\\\n", "\r\n");
}

}  // namespace veltra::test
