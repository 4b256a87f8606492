#include "base/regex.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(Regex, WholeMatchMustCoverTheText) {
    const Regex distinct("([一二三])不同号(?:通选)?");
    ASSERT_TRUE(distinct.IsValid());
    EXPECT_TRUE(distinct.WholeMatch("二不同号"));
    EXPECT_TRUE(distinct.WholeMatch("二不同号通选"));
    EXPECT_FALSE(distinct.WholeMatch("二不同号通"));
    EXPECT_FALSE(distinct.WholeMatch("x二不同号"));
    const auto m = distinct.WholeMatch("三不同号通选");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Group(1), "三");
}

TEST(Regex, FirstAndAllMatchesWithGroups) {
    const Regex comment("#(.*)");
    const auto all = comment.AllMatches("#a\r\nx\n#b\n");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].Group(1), "a\r");
    EXPECT_EQ(all[1].Group(1), "b");
    const auto first = Regex("(\\d+)~(\\d+)").FirstMatch("ab3~17c");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->offset, 2u);
    EXPECT_EQ(first->Group(0), "3~17");
    EXPECT_EQ(first->Group(2), "17");
}

TEST(Regex, CountsCharactersNotBytes) {
    const auto m = Regex("(..)(\\d+)-(\\d+)").FirstMatch("和值5-10注");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Group(1), "和值");
    EXPECT_TRUE(Regex("[\\(（](\\d)[\\)）]").FirstMatch("大（3）"));
}

TEST(Regex, BadPatternsAndBadSubjectsFindNothing) {
    const Regex broken("([");
    EXPECT_FALSE(broken.IsValid());
    EXPECT_FALSE(broken.FirstMatch("anything"));
    EXPECT_TRUE(broken.AllMatches("anything").empty());
    const auto m = Regex("\\d+").FirstMatch("\xFF\xFE 12");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Group(0), "12");
    EXPECT_EQ(Regex("x*").AllMatches("和").size(), 2u);  // empty matches step whole characters
}

}  // namespace
}  // namespace veltra
