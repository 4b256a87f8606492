#include "base/gbk_text.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(GbkText, RoundTripsChineseText) {
    const std::optional<std::string> gbk = Utf8ToGbk("和值大小");
    ASSERT_TRUE(gbk);
    EXPECT_EQ(*gbk, "\xBA\xCD\xD6\xB5\xB4\xF3\xD0\xA1");
    EXPECT_EQ(GbkToUtf8(*gbk), "和值大小");
    EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(GbkText, RefusesWhatCannotBeConverted) {
    EXPECT_FALSE(Utf8ToGbk("\xFF\xFE"));  // not UTF-8
    EXPECT_FALSE(Utf8ToGbk("😀"));         // no GBK form
    EXPECT_FALSE(GbkToUtf8("\xBA"));      // truncated double byte
    EXPECT_EQ(Utf8ToGbkLossy("a😀b\xFF"
                             "c"),
              "abc");
}

TEST(GbkText, ValidatesUtf8) {
    EXPECT_TRUE(IsValidUtf8("plain 和值 😀"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE5\x92"));          // truncated
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
}

}  // namespace
}  // namespace veltra
