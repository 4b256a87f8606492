#include "server/hex_text.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(HexText, BytesToHexIsUpperCasePairs) {
    EXPECT_EQ(BytesToHex(std::string("\x0A\xFF", 2)), "0AFF");
    EXPECT_EQ(BytesToHex(""), "");
    EXPECT_EQ(BytesToHex(std::string(1, '\0')), "00");
}

TEST(HexText, HexToBytesIsLenient) {
    struct Case {
        const char* hex;
        std::string bytes;
    } cases[] = {
        {"0aff", std::string("\x0A\xFF", 2)},
        {"0AFF", std::string("\x0A\xFF", 2)},
        {"0aF", std::string("\x0A\x0F", 2)},  // a last single digit is a byte of its own
        {"", ""},
        {"zz", std::string(1, '\0')},  // not hex digits: 0
        {"g1", std::string(1, '\x01')},
    };
    for (const Case& c : cases) EXPECT_EQ(HexToBytes(c.hex), c.bytes) << c.hex;
    EXPECT_EQ(HexToBytesStrict("0aFF"), std::string("\x0A\xFF", 2));
    EXPECT_FALSE(HexToBytesStrict("0af"));
    EXPECT_FALSE(HexToBytesStrict("0g"));
}

TEST(HexText, ParseNumberInEachBase) {
    EXPECT_EQ(ParseNumber("ff", kBase16), 255);
    EXPECT_EQ(ParseNumber("FF", kBase16), 255);
    EXPECT_EQ(ParseNumber("1x", kBase16), 16);  // invalid digits weigh nothing
    EXPECT_EQ(ParseNumber("17", kBase8), 15);
    EXPECT_EQ(ParseNumber("101", kBase2), 5);
    EXPECT_EQ(ParseNumber("0042"), 42);
    EXPECT_EQ(ParseNumber("12ab", kBase10), 12);
}

}  // namespace
}  // namespace veltra
