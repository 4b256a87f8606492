#include "server/envelope_codec.h"

#include <gtest/gtest.h>

#include "server/hex_text.h"
#include "server/url_escape.h"

namespace veltra {
namespace {

TEST(EnvelopeCodec, KeysHaveTheirFixedShape) {
    const std::string key = EnvelopeKey();
    EXPECT_FALSE(key.empty());
    for (const char c : key) EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
    EXPECT_EQ(DataKeyText(0), "0");
    EXPECT_EQ(DataKeyText(9999), std::to_string(9999 * std::stoll(DataKeyText(1))));
}

TEST(EnvelopeCodec, RequestRoundTripsThroughBothLayers) {
    const std::string escaped = UrlEscapeUtf8("{\"rand\":\"42\",\"param\":[\"和值\"]}");
    const std::string body = EncryptRequest(escaped, "handshake");
    EXPECT_EQ(body, BytesToHex(HexToBytes(body)));  // upper-case hex throughout
    EXPECT_EQ(DecryptRequest(body, "handshake"), escaped);
    EXPECT_NE(DecryptRequest(body, "other key"), escaped);
    EXPECT_FALSE(DecryptRequest("XYZ", "handshake"));
    EXPECT_FALSE(DecryptRequest("ABC", "handshake"));
}

TEST(EnvelopeCodec, HandshakeKeyAndDataRoundTrip) {
    EXPECT_EQ(OpenHandshakeKey(SealHandshakeKey("k3y")), "k3y");
    EXPECT_EQ(OpenHandshakeKey(SealHandshakeKey(std::string("ab\0cd", 5))), "ab");
    const std::string payload = "[{\"period\":\"20261211043\",\"msg\":\"开奖\"}]";
    const std::string sealed = SealData(payload, 4821);
    EXPECT_EQ(OpenData(sealed, 4821), payload);
    EXPECT_NE(OpenData(sealed, 4822), payload);
}

TEST(UrlEscape, EscapesAllButUnreservedAndRoundTrips) {
    EXPECT_EQ(UrlEscapeUtf8("aZ09-_.~"), "aZ09-_.~");
    EXPECT_EQ(UrlEscapeUtf8("{ \"%/?#[]}"), "%7B%20%22%25%2F%3F%23%5B%5D%7D");
    EXPECT_EQ(UrlEscapeUtf8("和"), "%E5%92%8C");
    EXPECT_EQ(UrlUnescape("%E5%92%8Ca%7b"), "和a{");
    EXPECT_FALSE(UrlUnescape("%E"));
    EXPECT_FALSE(UrlUnescape("%zz"));
}

}  // namespace
}  // namespace veltra
