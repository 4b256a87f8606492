// The client's side of the wire, built from the shared envelope primitives, so tests
// can speak to the server exactly as the program does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltra::test {

// The body of a handshake: "DATA=GETRAND?<seconds>".
std::string HandshakeBody(int64_t seconds = 1700000000);

// The handshake key of a handshake reply body; empty when the body is no such reply.
std::string KeyOfHandshakeReply(std::string_view body);

// The body of a call: the request document {"rand","funname","appid","param"},
// escaped, sealed in both layers, "DATA=" in front.
std::string CallBody(std::string_view handshakeKey, std::string_view funname,
                     const std::vector<std::string>& params, int64_t rand = 4821,
                     std::string_view appid = "2111");

// Same, from a request text of the caller's own (not necessarily JSON).
std::string CallBodyOfText(std::string_view handshakeKey, std::string_view requestText);

// The draw list cut out of a reply body as the program cuts it: from after the first
// "data\":\"" to before the last "\"}\"", the escaped line breaks "\\r\\n" made CR LF.
// Empty when the markers are missing.
std::string CutDrawList(std::string_view body);

}  // namespace veltra::test
