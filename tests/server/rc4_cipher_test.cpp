#include "server/rc4_cipher.h"

#include <gtest/gtest.h>

#include "server/hex_text.h"

namespace veltra {
namespace {

TEST(Rc4, Rfc6229Keystreams) {
    struct Case {
        const char* keyHex;
        const char* keystreamHex;
    } cases[] = {
        {"0102030405", "b2396305f03dc027ccc3524a0a1118a86982944f18fc82d589c403a47a0d0919"},
        {"01020304050607", "293f02d47f37c9b633f2af5285feb46be620f1390d19bd84e2e0fd752031afc1"},
        {"0102030405060708", "97ab8a1bf0afb96132f2f67258da15a88263efdb45c4a18684ef87e6b19e5b09"},
        {"0102030405060708090a0b0c0d0e0f10",
         "9ac7cc9a609d1ef7b2932899cde41b975248c4959014126a6e8a84f11d1a9e1c"},
        {"0102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f20",
         "eaa6bd25880bf93d3f5d1e4ca2611d91cfa45c9f7e714b54bdfa80027cb14380"},
    };
    for (const Case& c : cases) {
        const std::string keystream = Rc4(HexToBytes(c.keyHex), std::string(32, '\0'));
        EXPECT_EQ(HexToBytes(c.keystreamHex), keystream) << c.keyHex;
    }
}

TEST(Rc4, IsItsOwnInverseAndKeepsLength) {
    const std::string plain = "{\"funname\":\"init\"} 和值";
    const std::string cipher = Rc4("key", plain);
    EXPECT_EQ(cipher.size(), plain.size());
    EXPECT_NE(cipher, plain);
    EXPECT_EQ(Rc4("key", cipher), plain);
    EXPECT_EQ(Rc4("key", ""), "");
}

}  // namespace
}  // namespace veltra
