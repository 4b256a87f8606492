#include "base/md5_hex.h"

#include <gtest/gtest.h>

#include "base/gbk_text.h"

namespace veltra {
namespace {

TEST(Md5Hex, Rfc1321Suite) {
    struct Case {
        const char* input;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) EXPECT_EQ(Md5Hex(c.input), c.digest) << c.input;
}

TEST(Md5Hex, GbkBytesOfProductTexts) {
    struct Case {
        const char* text;
        const char* digest;
    } cases[] = {
        {"和值大小", "b49bcafbc6fa37ceabb3e71e52073284"},
        {"和值单双", "6ac6389c644ec389a17c6b3ba34d2f3c"},
        {"个位定3码", "1aff8f2587153f183a2312938dd2ac2c"},
        {"Veltra吉林快3平刷和值大小", "97f514d38fc47e254f34f07f52161f02"},
    };
    for (const Case& c : cases) EXPECT_EQ(Md5Hex(Utf8ToGbk(c.text).value()), c.digest) << c.text;
}

}  // namespace
}  // namespace veltra
