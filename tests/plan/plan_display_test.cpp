#include "plan/plan_display.h"

#include <gtest/gtest.h>

#include "base/lcg_random.h"
#include "base/text_split.h"
#include "plan/plan_statistics.h"
#include "plan/position_code_kind.h"
#include "platform/headless/headless_window_system.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

constexpr const char* kPlan = "和值大小";
constexpr const char* kWarning = "彩票有风险，投注需谨慎！";

ForecastEntry Entry(const char* start, const char* end, int status, const char* forecast,
                    const char* drawSerial = "", const char* drawNumbers = "") {
    ForecastEntry e;
    e.startSerial = start;
    e.endSerial = end;
    e.status = status;
    e.forecast = forecast;
    e.drawSerial = drawSerial;
    e.drawNumbers = drawNumbers;
    return e;
}

TEST(PlanText, BracketedLinesWithTheirOutcomes) {
    PlanRecord plan;
    plan.name = kPlan;
    plan.displayMode = kBracketed;
    plan.periodCount = 3;
    plan.entries = {Entry("041", "043", kHit, "大", "042", "3,5,6"),
                    Entry("043", "045", kMiss, "小", "045", "1,1,2"),
                    Entry("046", "048", kOpen, "大")};
    EXPECT_EQ(PlanBook::PlanText(plan, ""),
              "041-043期 和值大小【大】 <042期-3,5,6>→中\r\n"
              "043-045期 和值大小【小】 挂\r\n"
              "046-048期 和值大小【大】 等开\r\n");
    EXPECT_EQ(StatisticsText(plan),
              std::string("当前计划统计：总计3期，中1期，挂1期，中奖率为33.33%\r\n") + kWarning);

    plan.periodCount = 1;
    plan.entries = {Entry("042", "042", kMiss, "大", "042", "1,2,3"),
                    Entry("043", "043", kHit, "小", "043", "1,1,2")};
    EXPECT_EQ(PlanBook::PlanText(plan, "键"),
              "042期 键和值大小【大】 <042期-1,2,3>→无\r\n"
              "043期 键和值大小【小】 <043期-1,1,2>→中\r\n");
}

TEST(PlanText, CompactLinesShowTheOpenForecastOnceAtTheBottom) {
    PlanRecord plan;
    plan.name = "个位定3码";
    plan.displayMode = kCompact;
    plan.periodCount = 2;
    plan.entries = {Entry("010", "011", kMiss, "01 02 03", "011", "4,5,6"),
                    Entry("012", "013", kOpen, "02 04 06")};
    EXPECT_EQ(PlanBook::PlanText(plan, ""),
              "010-011期 个位定3码 挂\r\n"
              "012-013期 个位定3码 等开\r\n"
              "\r\n\r\n 02 04 06\r\n");
    plan.entries.clear();
    EXPECT_EQ(PlanBook::PlanText(plan, ""), "");
}

TEST(PlanStatistics, HitRateRoundsHalfUpToTheShortestForm) {
    struct Case {
        int hits, total;
        const char* rate;
    } cases[] = {
        {1, 3, "33.33"}, {2, 3, "66.67"}, {2, 4, "50"},      {0, 5, "0"},
        {0, 0, "0"},     {19, 25, "76"},  {38, 49, "77.55"}, {1, 8, "12.5"},
        {1, 32, "3.13"}, {1, 6, "16.67"}, {7, 7, "100"},     {1, 160, "0.63"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitRateText(c.hits, c.total), c.rate) << c.hits << "/" << c.total;
}

// Fifty complete draws of one day, newest first, with non-zero seeds.
RecentDraws FiftyDraws() {
    RecentDraws draws;
    LcgRandom dice;
    dice.Seed(2026);
    for (int serial = 1; serial <= 50; ++serial) {
        DrawRecord r;
        r.tag = "jlk3";
        r.period = "20261211" + std::string(serial < 10 ? "00" : "0") + std::to_string(serial);
        r.drawTime = "2026-12-11 08:30:00";
        r.numbers = std::to_string(dice.Range(1, 6)) + "," + std::to_string(dice.Range(1, 6)) +
                    "," + std::to_string(dice.Range(1, 6));
        r.seed = 100000 + serial * 7919;
        draws.InsertFront(r);
    }
    return draws;
}

class PlanDisplayTest : public ::testing::Test {
  protected:
    PlanDisplayTest() {
        SharedRandom().Seed(1);
        clock.uptimeStep = 37;
        book.AddPlanByType(kPlan, kPlan, 3);
        book.SetResetOnMisses(0);
        display.Bind("main", "编辑框_计划", kPlan);
    }
    std::string Box() const { return windows.Text("main", "编辑框_计划"); }
    std::vector<std::string> PlanLines() const {
        const std::string box = Box();
        return SplitText(box.substr(0, box.find("\r\n\r\n")), "\r\n");
    }

    HeadlessWindowSystem windows;
    test::ManualClock clock;
    PlanBook book{clock};
    RecentDraws draws = FiftyDraws();
    AppState state;
    ProductProfile profile = ThisProduct();
    PlanDisplay display{windows, book, draws, state, profile, clock};
};

TEST_F(PlanDisplayTest, RebuildReplaysFiftyDrawsAndRefreshesTheBox) {
    display.Rebuild(1);
    const PlanRecord& plan = *book.PlanAt(1);
    ASSERT_EQ(plan.EntryCount(), 51);  // one decided per draw, one open
    for (int i = 0; i < 50; ++i) EXPECT_NE(plan.entries[i].status, kOpen) << i;
    EXPECT_EQ(plan.entries.front().startSerial, "001");
    EXPECT_EQ(plan.entries.back().startSerial, "051");
    EXPECT_EQ(plan.entries.back().status, kOpen);

    EXPECT_EQ(Box(), book.PlanTextByName(kPlan) + "\r\n\r\n" + StatisticsText(plan));
    EXPECT_EQ(windows.Control("main", "编辑框_计划")->selectionStart, -1);
    EXPECT_GE(windows.PendingEventRuns(), 1);
    EXPECT_EQ(PlanLines().back(), "051期 和值大小【" + plan.entries.back().forecast + "】 等开");
}

TEST_F(PlanDisplayTest, ChangingThePeriodCountRebuildsEveryLine) {
    display.Rebuild(3);
    EXPECT_LT(book.PlanAt(1)->EntryCount(), 51);
    for (const std::string& line : PlanLines())
        EXPECT_NE(line.find("-0"), std::string::npos) << line;
    display.Rebuild(1);
    for (const std::string& line : PlanLines()) {
        EXPECT_EQ(line.find("-0"), std::string::npos) << line;
        EXPECT_EQ(line.find("挂"), std::string::npos) << line;
    }
}

TEST_F(PlanDisplayTest, ShortHistoriesAndBadRecordsAreSkipped) {
    draws.Resize(50);
    DrawRecord only;
    only.period = "20261211007";
    only.numbers = "1,2,3";
    only.seed = 77;
    draws[1] = only;
    draws[3].numbers = "1,2";  // rejected
    display.Rebuild(1);
    ASSERT_EQ(book.PlanAt(1)->EntryCount(), 2);
    EXPECT_EQ(book.PlanAt(1)->entries[0].startSerial, "007");
}

TEST_F(PlanDisplayTest, LiveDrawsExtendThePlanWithTheUptimeAsSeed) {
    display.Rebuild(1);
    DrawRecord draw;
    draw.period = "20261211051";
    draw.numbers = "6,6,6";
    draw.seed = 0;  // the live seed is the uptime, not the record's
    display.OnNewDraw(draw);
    EXPECT_EQ(book.PlanAt(1)->EntryCount(), 52);
    EXPECT_EQ(PlanLines().back().substr(0, 7), "052期 ");
}

TEST_F(PlanDisplayTest, MissingPlanShowsEmptyStatistics) {
    display.Bind("main", "编辑框_计划", "无此计划");
    display.Refresh();
    EXPECT_EQ(Box(), std::string("\r\n\r\n当前计划统计：总计0期，中0期，挂0期，中奖率为0%\r\n") +
                         kWarning);
}

TEST_F(PlanDisplayTest, BetCountSetsTheReplayChance) {
    profile.betPrefix = "和值";
    display.SetBetCount(250);
    EXPECT_EQ(display.ShownPlan(), "和值250注");
    EXPECT_EQ(book.HitPercent(), 45);
    EXPECT_EQ(book.FindPlan(kPlan), 0);
    // The plan name is no template: the format message names it.
    ASSERT_FALSE(windows.Messages().empty());
    EXPECT_EQ(windows.Messages().front().text, "表达式格式错误！错误内容：和值250注");
    display.SetBetCount(5);
    EXPECT_EQ(book.HitPercent(), 25);
    display.SetBetCount(60);
    EXPECT_EQ(book.HitPercent(), 80);
}

TEST_F(PlanDisplayTest, TemplatesAddOnePlanPerWord) {
    ASSERT_TRUE(display.BuildPlansFromTemplate("<甲>\n[2]\n和值单双 个位定3码(2)\n", "", false));
    ASSERT_EQ(book.PlanCount(), 4);
    EXPECT_EQ(book.PlanNameAt(2), "和值单双");
    EXPECT_EQ(book.PlanNameAt(3), "个位定3码(1)");
    EXPECT_EQ(book.PlanNameAt(4), "个位定3码(2)");
    EXPECT_EQ(book.PlanAt(4)->periodCount, 2);
    EXPECT_EQ(book.PlanAt(4)->displayMode, kCompact);

    ASSERT_TRUE(
        display.BuildPlansFromTemplate("<乙>\r\n[1]\r\n和值大小 和值单双\r\n", "A\r\nB", true));
    EXPECT_EQ(book.PlanNameAt(5), "A");
    EXPECT_EQ(book.PlanNameAt(6), "B");

    EXPECT_FALSE(display.BuildPlansFromTemplate("<丙>\n[1]\n不是类型\n", "", false));
    EXPECT_FALSE(display.BuildPlansFromTemplate("", "", false));
}

}  // namespace
}  // namespace veltra
