#include "app/display_width.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(DisplayWidth, CountsWideCharactersTwice) {
    struct Case {
        const char* text;
        int width;
    } cases[] = {{"", 0},
                 {"abc 123", 7},
                 {"当前期号：", 10},
                 {"和值大小【大】", 14},
                 {"037-039期 →中", 13},
                 {"正在开奖……", 10},
                 {"e\xcc\x81", 1},  // e + combining acute accent
                 {"\xff\xfe", 2},   // not UTF-8: one column per byte
                 {"\xe5\x92", 2}};  // a cut-off character
    for (const Case& c : cases) EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
}

TEST(DisplayWidth, CutsAtCharacterBoundaries) {
    struct Case {
        const char* text;
        int columns;
        const char* cut;
    } cases[] = {{"当前期号", 5, "当前"}, {"ab当", 3, "ab"}, {"ab当", 4, "ab当"},
                 {"abc", 10, "abc"},      {"abc", 0, ""},    {"当", 1, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(CutToWidth(c.text, c.columns), c.cut) << c.text << " " << c.columns;
    }
}

}  // namespace
}  // namespace veltra
