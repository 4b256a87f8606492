#include "base/text_split.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(SplitText, KeepsEmptyPiecesButNoFinalOne) {
    struct Case {
        const char* text;
        const char* separator;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", ",", {}},
        {"1,2,3", ",", {"1", "2", "3"}},
        {"1,,3", ",", {"1", "", "3"}},
        {",1", ",", {"", "1"}},
        {"1,2,", ",", {"1", "2"}},
        {",", ",", {""}},
        {",,", ",", {"", ""}},
        {"a|+|b|+||+|c", "|+|", {"a", "b", "", "c"}},
        {"no separator", ",", {"no separator"}},
        {"甲,乙", ",", {"甲", "乙"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitText(c.text, c.separator), c.pieces) << c.text;
    }
}

TEST(ReplaceAll, ReplacesEveryOccurrenceWithoutOverlap) {
    EXPECT_EQ(ReplaceAll("a\r\nb\r\n", "\r\n", " "), "a b ");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("2*3+2*3", "2*3", "6"), "6+6");
}

}  // namespace
}  // namespace veltra
