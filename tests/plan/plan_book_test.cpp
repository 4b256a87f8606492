#include "plan/plan_book.h"

#include <gtest/gtest.h>

#include "base/lcg_random.h"
#include "base/text_integer.h"
#include "plan/sum_big_small_kind.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

constexpr const char* kPlan = "和值大小";

// Draws that hit or miss a 和值大小 forecast on purpose.
std::string HittingDraw(const std::string& forecast) {
    return forecast == "大" ? "6,6,6" : "1,1,1";
}
std::string MissingDraw(const std::string& forecast) {
    return forecast == "大" ? "1,1,1" : "6,6,6";
}

std::string Period(int serial) {
    return "20261211" + std::string(serial < 10 ? "00" : "0") + std::to_string(serial);
}

// The forecast the book holds open for the plan, or, before its first draw, the one
// that draw will create: the seed is the draw's serial plus its seed plus the plan seed.
std::string OpenForecast(const PlanBook& book, int serial, int32_t seed) {
    const PlanRecord& plan = *book.PlanAt(1);
    if (!plan.entries.empty()) return plan.entries.back().forecast;
    return plan.kind->取下期预测(
        WrapInt32(int64_t{book.BookSeed()} + serial + seed + plan.planSeed));
}

// A draw at serial that hits (or misses) the plan's open forecast; next is the
// hindsight of a replayed draw, empty for a live one.
void Feed(PlanBook& book, int serial, bool hit, const std::string& next = "", int32_t seed = 1234) {
    const std::string forecast = OpenForecast(book, serial, seed);
    const std::string numbers = hit ? HittingDraw(forecast) : MissingDraw(forecast);
    ASSERT_TRUE(book.OnDraw(Period(serial), numbers, seed, next));
}

class PlanBookTest : public ::testing::Test {
  protected:
    PlanBookTest() { SharedRandom().Seed(1); }

    const PlanRecord& Plan(int index = 1) { return *book.PlanAt(index); }
    const ForecastEntry& Newest() { return Plan().entries.back(); }
    void Live(int serial, bool hit) { Feed(book, serial, hit); }

    test::ManualClock clock;
    PlanBook book{clock};
};

TEST_F(PlanBookTest, AddPlanByTypeClassifiesAndSeedsFromTheGbkName) {
    ASSERT_TRUE(book.AddPlanByType(kPlan, kPlan, 2));
    ASSERT_EQ(book.PlanCount(), 1);
    EXPECT_EQ(Plan().name, kPlan);
    EXPECT_NE(dynamic_cast<const SumBigSmallKind*>(Plan().kind.get()), nullptr);
    EXPECT_EQ(Plan().displayMode, kBracketed);
    EXPECT_EQ(Plan().periodCount, 2);
    EXPECT_EQ(Plan().planSeed, 0xb49bca);  // MD5 of the GBK bytes begins b49bca
    EXPECT_EQ(HexPrefixValue(kPlan, 8), 0xb49bcafb);

    ASSERT_TRUE(book.AddPlanByType("个位定3码", "甲", 1));
    EXPECT_EQ(Plan(2).displayMode, kCompact);
    ASSERT_TRUE(book.AddPlanByType("个位定5码", "乙", 1));
    EXPECT_EQ(Plan(3).displayMode, kBracketed);
    EXPECT_FALSE(book.AddPlanByType("和值大小 ", "丙", 1));
    EXPECT_FALSE(book.AddPlanByType("", "丙", 1));
    EXPECT_EQ(book.PlanCount(), 3);
}

TEST_F(PlanBookTest, SameNamedPlansAreReachedOnlyThroughTheFirst) {
    book.AddPlanByType("和值大小", "同名", 1);
    book.AddPlanByType("和值单双", "同名", 2);
    EXPECT_EQ(book.FindPlan("同名"), 1);
    EXPECT_EQ(Plan(1).periodCount, 2);  // the second addition gave its count to the first
    EXPECT_EQ(Plan(2).periodCount, 3);
    book.SetPlanPeriodCount(1, "同名", true);
    EXPECT_EQ(Plan(1).periodCount, 1);
    EXPECT_EQ(Plan(2).periodCount, 3);
    book.SetPlanPeriodCount(1, "", false);
    EXPECT_EQ(Plan(2).periodCount, 1);
    EXPECT_EQ(book.RemovePlan("同名"), 1);
    EXPECT_EQ(book.PlanCount(), 1);
    EXPECT_EQ(book.PlanNameAt(1), "同名");
    EXPECT_EQ(book.RemovePlan("无"), 0);
    EXPECT_EQ(book.PlanTextByName("无"), "");
    EXPECT_EQ(book.PlanNameAt(2), "");
    EXPECT_EQ(book.PlanTextAt(0), "");
    EXPECT_EQ(book.LatestForecastByName("无"), "");
    PlanRecord untouched;
    untouched.name = "原";
    EXPECT_FALSE(book.CopyPlanByName("无", untouched));
    EXPECT_EQ(untouched.name, "原");
}

TEST_F(PlanBookTest, CopiesAreDeep) {
    book.AddPlanByType(kPlan, kPlan, 3);
    Live(41, true);
    PlanRecord copy;
    ASSERT_TRUE(book.CopyPlanByName(kPlan, copy));
    copy.entries.front().forecast = "改";
    copy.kind->SetName("改");
    EXPECT_NE(Plan().entries.front().forecast, "改");
    EXPECT_EQ(Plan().kind->Name(), kPlan);
}

TEST_F(PlanBookTest, SerialAfterWrapsAtThePeriodsOfADay) {
    struct Case {
        const char* period;
        int k;
        const char* serial;
    } cases[] = {
        {"20261211082", 1, "001"},   {"20261211005", 0, "005"}, {"20261211040", 3, "043"},
        {"20261211081", 3, "002"},   {"20261211081", 1, "082"}, {"20261211000", 1, "001"},
        {"20261211082", 165, "001"}, {"5", 0, "005"},           {"", 2, "002"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(book.SerialAfter(c.period, c.k), c.serial) << c.period << "+" << c.k;
    book.SetPeriodsPerDay(120);
    EXPECT_EQ(book.SerialAfter("20261211099", 2), "101");
}

TEST_F(PlanBookTest, SplitDrawNeedsExactlyThreePieces) {
    DrawNumbers pieces;
    EXPECT_TRUE(PlanBook::SplitDraw("1,2,3", pieces));
    EXPECT_EQ(pieces, (DrawNumbers{"1", "2", "3"}));
    EXPECT_FALSE(PlanBook::SplitDraw("1,2", pieces));
    EXPECT_FALSE(PlanBook::SplitDraw("1,2,3,4", pieces));
    EXPECT_FALSE(PlanBook::SplitDraw("", pieces));
    EXPECT_TRUE(PlanBook::SplitDraw("1,2,3,", pieces));  // no final empty piece
}

TEST_F(PlanBookTest, KeyTextSeedsTheBook) {
    book.SetKeyText("和值大小");  // first 8 hex digits b49bcafb: negative as int32
    EXPECT_EQ(book.KeyText(), "和值大小");
    EXPECT_EQ(book.BookSeed(), -WrapInt32(0xb49bcafbLL));
}

TEST_F(PlanBookTest, SinglePeriodPlanDecidesEveryDraw) {
    book.AddPlanByType(kPlan, kPlan, 1);
    Live(41, true);  // the first draw creates the window 041 and decides it
    ASSERT_EQ(Plan().EntryCount(), 2);
    EXPECT_EQ(Plan().entries[0].startSerial, "041");
    EXPECT_EQ(Plan().entries[0].endSerial, "041");
    EXPECT_EQ(Plan().entries[0].status, kHit);
    EXPECT_EQ(Plan().entries[0].drawSerial, "041");
    EXPECT_EQ(Newest().startSerial, "042");
    Live(42, false);
    ASSERT_EQ(Plan().EntryCount(), 3);
    EXPECT_EQ(Plan().entries[1].status, kMiss);
    EXPECT_EQ(Newest().status, kOpen);
    EXPECT_EQ(Newest().startSerial, "043");
    EXPECT_EQ(Newest().drawSerial, "");
}

TEST_F(PlanBookTest, ThreePeriodWindowStaysOpenUntilHitOrItsLastDraw) {
    book.AddPlanByType(kPlan, kPlan, 3);
    Live(40, true);  // first window 040-042 hit at once; next window 041-043
    ASSERT_EQ(Newest().startSerial, "041");
    ASSERT_EQ(Newest().endSerial, "043");
    Live(41, false);
    EXPECT_EQ(Newest().status, kOpen);
    EXPECT_EQ(Newest().drawSerial, "041");
    Live(42, true);
    ASSERT_EQ(Plan().EntryCount(), 3);
    EXPECT_EQ(Plan().entries[1].status, kHit);
    EXPECT_EQ(Plan().entries[1].drawSerial, "042");
    EXPECT_EQ(Newest().startSerial, "043");
    EXPECT_EQ(Newest().endSerial, "045");

    Live(43, false);
    Live(44, false);
    EXPECT_EQ(Plan().EntryCount(), 3);
    Live(45, false);
    ASSERT_EQ(Plan().EntryCount(), 4);
    EXPECT_EQ(Plan().entries[2].status, kMiss);
    EXPECT_EQ(Plan().entries[2].drawSerial, "045");
    EXPECT_EQ(Newest().startSerial, "046");
    EXPECT_EQ(Newest().endSerial, "048");
}

TEST_F(PlanBookTest, WindowsWrapAroundTheDay) {
    book.AddPlanByType(kPlan, kPlan, 3);
    Live(79, true);  // first window 079-081 hit at once; next 080-082
    Live(80, true);
    EXPECT_EQ(Newest().startSerial, "081");
    EXPECT_EQ(Newest().endSerial, "001");
    Live(81, true);
    EXPECT_EQ(Newest().startSerial, "082");
    EXPECT_EQ(Newest().endSerial, "002");
    Live(82, false);
    const auto nextDay = [&](const char* period) {
        ASSERT_TRUE(book.OnDraw(period, MissingDraw(book.LatestForecastByName(kPlan)), 5, ""));
    };
    nextDay("20261212001");
    EXPECT_EQ(Newest().status, kOpen);
    nextDay("20261212002");
    const ForecastEntry& decided = Plan().entries[Plan().entries.size() - 2];
    EXPECT_EQ(decided.status, kMiss);
    EXPECT_EQ(decided.drawSerial, "002");
    EXPECT_EQ(Newest().startSerial, "003");
}

TEST_F(PlanBookTest, AFirstDrawOfTheDayStartsItsWindowAtSerialOne) {
    book.AddPlanByType(kPlan, kPlan, 1);
    ASSERT_TRUE(book.OnDraw("20261211001", "1,2,3", 9, ""));
    EXPECT_EQ(Plan().entries[0].startSerial, "001");
}

TEST_F(PlanBookTest, TwoFinalMissesAmongTheLastThreeWipeThePlan) {
    book.AddPlanByType(kPlan, kPlan, 1);
    Live(10, false);
    Live(11, true);
    ASSERT_EQ(Plan().EntryCount(), 3);
    Live(12, false);  // misses at 010 and 012 among the newest three
    ASSERT_EQ(Plan().EntryCount(), 1);
    EXPECT_EQ(Newest().status, kOpen);
    EXPECT_EQ(Newest().startSerial, "013");

    book.SetResetOnMisses(0);
    Live(13, false);
    Live(14, false);
    EXPECT_EQ(Plan().EntryCount(), 3);
}

TEST_F(PlanBookTest, HistoryLimitDropsTheOldestEntries) {
    book.AddPlanByType(kPlan, kPlan, 1);
    book.SetResetOnMisses(0);
    book.SetHistoryLimit(5);
    for (int serial = 1; serial <= 12; ++serial) Live(serial, serial % 2 == 0);
    ASSERT_EQ(Plan().EntryCount(), 5);
    EXPECT_EQ(Plan().entries.front().startSerial, "009");
    EXPECT_EQ(Newest().startSerial, "013");
}

TEST_F(PlanBookTest, RejectedDrawsChangeNothing) {
    book.AddPlanByType(kPlan, kPlan, 1);
    EXPECT_FALSE(book.OnDraw(Period(5), "1,2", 7, ""));
    EXPECT_FALSE(book.OnDraw(Period(5), "1,2,3", 7, "1,2"));
    EXPECT_TRUE(book.OnDraw(Period(5), "1,2,3", 0, ""));  // seed 0: skipped silently
    EXPECT_EQ(Plan().EntryCount(), 0);
}

TEST_F(PlanBookTest, LiveSeedSumsWrapToThirtyTwoBits) {
    book.AddPlanByType(kPlan, kPlan, 1);
    book.SetKeyText("和值大小");
    const int32_t seed = 2147483600;
    ASSERT_TRUE(book.OnDraw(Period(43), "1,2,3", seed, ""));
    // l = bookSeed + 43 + seed; forecast seed = l + planSeed, each wrapped to 32 bits
    const int32_t l = WrapInt32(int64_t{book.BookSeed()} + 43 + seed);
    SumBigSmallKind reference;
    reference.Configure(1, 3, kPlan);
    EXPECT_EQ(Plan().entries[0].forecast, reference.取下期预测(WrapInt32(int64_t{l} + 0xb49bca)));
    EXPECT_EQ(Newest().forecast, reference.取下期预测(WrapInt32(int64_t{l} + 0xb49bca)));
}

TEST_F(PlanBookTest, ReplayWantsAHitAfterTwoMissesInARow) {
    clock.uptimeStep = 7919;
    for (const char* next : {"6,6,6", "1,1,1", "5,6,6", "1,2,3"}) {
        PlanBook replay(clock);
        replay.AddPlanByType(kPlan, kPlan, 1);
        replay.SetHitPercent(0);  // without the rule a miss would be wanted
        replay.SetResetOnMisses(0);
        Feed(replay, 1, false);
        Feed(replay, 2, false, next);  // the second miss in a row, replayed with hindsight
        const bool big = std::string(next) == "6,6,6" || std::string(next) == "5,6,6";
        EXPECT_EQ(replay.LatestForecastByName(kPlan), big ? "大" : "小") << next;
    }
}

TEST_F(PlanBookTest, ReplayWantsAMissAfterFiveHitsInARow) {
    clock.uptimeStep = 104729;
    for (const char* next : {"6,6,6", "1,1,1"}) {
        PlanBook replay(clock);
        replay.AddPlanByType(kPlan, kPlan, 1);
        replay.SetHitPercent(100);  // without the rule a hit would be wanted
        Feed(replay, 1, true);
        for (int serial = 2; serial <= 5; ++serial) Feed(replay, serial, true, next);
        ASSERT_EQ(replay.PlanAt(1)->EntryCount(), 6);  // five hits, then the new forecast
        for (int i = 0; i < 5; ++i) ASSERT_EQ(replay.PlanAt(1)->entries[i].status, kHit);
        // A hit would be wanted only if the coin showed exactly 0.
        EXPECT_EQ(replay.LatestForecastByName(kPlan), std::string(next) == "6,6,6" ? "小" : "大")
            << next;
    }
}

TEST_F(PlanBookTest, CountRecentWalksBackFromTheNewest) {
    PlanRecord record;
    for (const int status : {kHit, kMiss, kHit, kMiss, kMiss}) {
        ForecastEntry entry;
        entry.status = status;
        record.entries.push_back(entry);
    }
    struct Case {
        int key, window, needed;
        bool consecutive, result;
    } cases[] = {
        {kMiss, 2, 2, true, true},  {kMiss, 3, 3, true, false},  {kMiss, 3, 2, false, true},
        {kHit, 3, 1, false, true},  {kHit, 3, 1, true, false},   {kHit, 5, 2, false, true},
        {kHit, 4, 2, false, false}, {kMiss, 9, 6, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(book.CountRecent(record, c.key, c.window, c.needed, c.consecutive), c.result)
            << c.key << " " << c.window << " " << c.needed << " " << c.consecutive;
    }
}

}  // namespace
}  // namespace veltra
