#include "appserver/draw_history.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

constexpr const char* kRows =
    "a|+|20240105043|+|2024-01-05 15:30:00|+|1,2,3|+|77\r\n"
    "b|+|20240105042|+|2024-01-05 15:20:00|+|4,5,6|+|-5\r\n"
    "c|+|20240104082|+|2024-01-04 22:00:00|+|6,6,6|+|x\r\n";

TEST(DrawHistory, ReadsRowsNewestFirstInEitherLineEnding) {
    for (const std::string& text :
         {std::string(kRows), "\xEF\xBB\xBF" + std::string(kRows) + "\r\n\r\n",
          std::string("a|+|20240105043|+|2024-01-05 15:30:00|+|1,2,3|+|77\n\n"
                      "b|+|20240105042|+|2024-01-05 15:20:00|+|4,5,6|+|-5\n"
                      "c|+|20240104082|+|2024-01-04 22:00:00|+|6,6,6|+|x")}) {
        const DrawHistory::LoadResult loaded = DrawHistory::Parse(text);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        const DrawHistory& history = loaded.history;
        ASSERT_EQ(history.Rows().size(), 3u);
        EXPECT_EQ(history.Newest(0),
                  (DrawRow{"a", "20240105043", "2024-01-05 15:30:00", "1,2,3", "77"}));
        EXPECT_EQ(history.Rows()[2].seed, "x");
        EXPECT_EQ(history.Recent(0, 2).size(), 2u);
        EXPECT_EQ(history.Recent(0, 50).size(), 3u);
        EXPECT_EQ(history.OnDate(0, {2024, 1, 5}).size(), 2u);
        EXPECT_EQ(history.OnDate(0, {2024, 1, 4}).front().tag, "c");
        EXPECT_TRUE(history.OnDate(0, {2024, 1, 6}).empty());
    }
}

TEST(DrawHistory, RefusesMalformedFilesNamingTheLine) {
    struct Case {
        std::string text;
        const char* error;
    };
    const Case cases[] = {
        {"", "no draws"},
        {"\r\n\r\n", "no draws"},
        {"a|+|1|+|t|+|1,2,3\r\n", "line 1: a draw needs five fields"},
        {"a|+|1|+|t|+|1,2,3|+|5\r\na|+|1|+|t|+|1,2,3|+|5|+|6\r\n", "line 2: a draw needs five"},
        {"a|+|1|+|t|+|1,2,3|+|5|+|\r\n", "line 1: a draw needs five fields"},
        {"a|+|1|+|t|+|1,2,3|+|5\n\nb\"|+|1|+|t|+|1,2,3|+|5\n", "line 3: a field holds"},
        {"a\\|+|1|+|t|+|1,2,3|+|5\n", "line 1: a field holds"},
        {"a\t|+|1|+|t|+|1,2,3|+|5\n", "line 1: a field holds"},
        {"a\xFF|+|1|+|t|+|1,2,3|+|5\n", "not UTF-8"},
        {"a\xC0\xAF|+|1|+|t|+|1,2,3|+|5\n", "not UTF-8"},
    };
    for (const Case& c : cases) {
        const DrawHistory::LoadResult loaded = DrawHistory::Parse(c.text);
        EXPECT_FALSE(loaded.ok) << c.text;
        EXPECT_NE(loaded.error.find(c.error), std::string::npos) << loaded.error;
    }
    EXPECT_TRUE(DrawHistory::Parse("吉林|+|1|+|t|+|1,2,3|+|5").ok);
}

TEST(DrawHistory, ComingPeriodFollowsTheDailyNumbering) {
    struct Case {
        const char* period;
        const char* coming;
        const char* comingTime;
    };
    const Case cases[] = {
        {"20240105043", "20240105044", "2024-01-05 15:40:00"},
        {"20240105001", "20240105002", "2024-01-05 08:40:00"},
        {"20240105082", "20240106001", "2024-01-06 08:30:00"},
        {"20241231082", "20250101001", "2025-01-01 08:30:00"},
        {"20240105083", "", ""},
        {"20240105000", "", ""},
        {"20241305001", "", ""},
        {"043", "", ""},
        {"2024010504x", "", ""},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("t|+|") + c.period + "|+|x|+|1,2,3|+|5";
        const DrawHistory::LoadResult loaded = DrawHistory::Parse(text);
        ASSERT_TRUE(loaded.ok) << loaded.error;
        const DrawRow coming = loaded.history.Coming(0);
        EXPECT_EQ(coming.tag, "t");
        EXPECT_EQ(coming.period, c.coming) << c.period;
        EXPECT_EQ(coming.drawTime, c.comingTime) << c.period;
    }
}

TEST(DrawHistory, LoadsAFileAndNamesItInErrors) {
    test::TempDir dir;
    EXPECT_TRUE(DrawHistory::Load(dir.Write("draws.txt", kRows).string()).ok);
    const DrawHistory::LoadResult bad = DrawHistory::Load(dir.Write("bad.txt", "x\n").string());
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.error.find("bad.txt: line 1"), std::string::npos) << bad.error;
    const DrawHistory::LoadResult missing = DrawHistory::Load((dir.Path() / "none").string());
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace veltra
