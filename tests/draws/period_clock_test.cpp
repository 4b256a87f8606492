#include "draws/period_clock.h"

#include <gtest/gtest.h>

#include <functional>

#include "draws/local_time.h"
#include "tests/support/manual_clock.h"
#include "tests/support/scoped_time_zone.h"

namespace veltra {
namespace {

// Runs the test in the machine zone UTC+8.
class ChinaTime : public ::testing::Test {
  protected:
    test::ScopedTimeZone zone{"CST-8"};
};

struct FakeSource : NewestDrawSource {
    std::string NewestPeriod() override {
        ++periodCalls;
        return period;
    }
    bool NewestDraw(std::vector<std::string>& out) override {
        ++drawCalls;
        if (during) during();
        out = fields;
        return ok;
    }
    std::string period = "20240101001";
    std::vector<std::string> fields = {"t", "20240101001", "2024-01-01 08:30:00", "1,2,3", "77",
                                       "t", "20240101002", "2024-01-01 08:40:00"};
    bool ok = true;
    int periodCalls = 0;
    int drawCalls = 0;
    std::function<void()> during;
};

constexpr int64_t k0830 = 1704069000;  // 2024-01-01 08:30:00 at UTC+8
constexpr int64_t k0840 = k0830 + 600;

class PeriodClockTest : public ChinaTime {
  protected:
    PeriodClockTest() { clock.now = k0830 + 5; }
    test::ManualClock clock;
    FakeSource source;
    PeriodClock periodClock{source, clock};
    DrawSnapshot out;
};

TEST(PeriodClockFormat, MinutesAndSecondsWithoutHours) {
    struct Case {
        int32_t seconds;
        const char* text;
    } cases[] = {{-1, ""},         {0, "00：00"},     {9, "00：09"},
                 {59, "00：59"},   {61, "01：01"},    {600, "10：00"},
                 {3600, "60：00"}, {6000, "100：00"}, {2147483647, "35791394：07"}};
    for (const Case& c : cases)
        EXPECT_EQ(PeriodClock::FormatMinutesSeconds(c.seconds), c.text) << c.seconds;
}

TEST_F(ChinaTime, LocalDateTimesReadInTheMachineZone) {
    const auto t = ParseLocalDateTime("2024-01-01 08:00:00");
    ASSERT_TRUE(t);
    EXPECT_EQ(LocalToUnix(*t), 1704067200);
    EXPECT_EQ(LocalToUnix(*t, true), 1704067200000);
    struct Case {
        const char* text;
        bool valid;
    } cases[] = {{"2024/1/5 8:05", true},
                 {"2024年1月5日 08:05:09", true},
                 {"2024-01-05", true},
                 {"2024-01-05T08:05:09", true},
                 {"2024-02-29 00:00:00", true},
                 {"2023-02-29 00:00:00", false},
                 {"2024-13-01 00:00:00", false},
                 {"2024-01-01 24:00:00", false},
                 {"not a date", false},
                 {"", false},
                 {"2024-01-01 08:00:00 extra", false}};
    for (const Case& c : cases)
        EXPECT_EQ(ParseLocalDateTime(c.text).has_value(), c.valid) << c.text;
}

TEST_F(PeriodClockTest, FirstPollTakesTheNewestDrawAndItsNextTime) {
    EXPECT_EQ(periodClock.RemainingText(), "");  // nothing taken yet
    ASSERT_TRUE(periodClock.Poll(out));
    EXPECT_EQ(out.latest.period, "20240101001");
    EXPECT_EQ(out.latest.seed, 77);
    EXPECT_EQ(out.next.period, "20240101002");
    EXPECT_EQ(periodClock.Snapshot().latest.numbers, "1,2,3");
    EXPECT_EQ(periodClock.NextDrawTime(), k0840);
    EXPECT_EQ(periodClock.RemainingText(), "09：55");
    clock.now = k0840;
    EXPECT_EQ(periodClock.RemainingText(), "00：00");
    clock.now = k0840 + 1;
    EXPECT_EQ(periodClock.RemainingText(), "");
}

TEST_F(PeriodClockTest, PollsAreDueOnlyAfterTheDrawTimeAndSixSecondsApart) {
    ASSERT_TRUE(periodClock.Poll(out));
    const int64_t lastPoll = periodClock.LastPollTime();
    clock.now = k0840 - 1;  // not due yet: no network, the last poll time is kept
    EXPECT_FALSE(periodClock.Poll(out));
    EXPECT_EQ(source.periodCalls, 1);
    EXPECT_EQ(periodClock.LastPollTime(), lastPoll);

    clock.now = k0840 + 1;  // due, but the server still has the old draw
    EXPECT_FALSE(periodClock.Poll(out));
    EXPECT_EQ(source.drawCalls, 2);
    EXPECT_EQ(out.latest.period, "20240101001");
    EXPECT_EQ(periodClock.NextDrawTime(), k0840);
    clock.now += 5;
    EXPECT_FALSE(periodClock.Poll(out));
    EXPECT_EQ(source.periodCalls, 2);  // too soon: no network
    clock.now += 1;
    source.fields[1] = "20240101002";
    source.fields[6] = "20240101003";
    source.fields[7] = "2024-01-01 08:50:00";
    EXPECT_TRUE(periodClock.Poll(out));
    EXPECT_EQ(periodClock.NextDrawTime(), k0840 + 600);
}

TEST_F(PeriodClockTest, FailedOrMisshapenDrawsLeaveTheSnapshotAlone) {
    for (const size_t count : {size_t{7}, size_t{9}}) {
        source.fields.resize(count, "x");
        out.latest.period = "untouched";
        EXPECT_FALSE(periodClock.Poll(out));
        EXPECT_EQ(out.latest.period, "untouched");
        EXPECT_FALSE(periodClock.PollBusy());
        clock.now += 6;
    }
    source.ok = false;
    EXPECT_FALSE(periodClock.Poll(out));
    EXPECT_EQ(periodClock.LastPollTime(), clock.now);  // the try counts: next one 6 s later
    EXPECT_EQ(periodClock.NextDrawTime(), 0);
}

TEST_F(PeriodClockTest, CheapCheckComparesThreeCharactersWithTheWholePeriod) {
    source.period = "";  // newest-period read failed before any draw: ends at the check
    EXPECT_FALSE(periodClock.Poll(out));
    EXPECT_EQ(source.drawCalls, 0);
    clock.now += 6;
    source.period = "20240101001";
    source.fields[1] = "001";
    ASSERT_TRUE(periodClock.Poll(out));
    clock.now = k0840 + 10;
    EXPECT_FALSE(periodClock.Poll(out));
    EXPECT_EQ(source.drawCalls, 1);  // tail "001" equals the period "001"
}

TEST_F(PeriodClockTest, UnreadableNextDrawTimeKeepsTheDrawDue) {
    source.fields[7] = "下一期";
    ASSERT_TRUE(periodClock.Poll(out));
    EXPECT_EQ(periodClock.RemainingText(), "");
    clock.now += 6;
    source.fields[1] = "20240101002";
    EXPECT_TRUE(periodClock.Poll(out));  // due at once, one poll every 6 seconds
}

// A server that has gone back in time (restarted from older data) does not undo the
// draw the program has taken; serials too short to hold a date still wrap each day.
TEST_F(PeriodClockTest, AnEarlierDatedPeriodIsNoNewDraw) {
    struct Case {
        const char* taken;
        const char* fetched;
        bool isNew;
    } cases[] = {
        {"20240101043", "20240101042", false},
        {"20240102001", "20240101082", false},
        {"20240101043", "20240101044", true},
        {"20240101082", "20240102001", true},
        {"082", "001", true},                 // a serial of its own: the next day
        {"20240101043", "2024010142", true},  // another numbering: any change is new
        {"A-043", "A-042", true},
    };
    for (const Case& c : cases) {
        FakeSource server;
        test::ManualClock time;
        time.now = k0830 + 5;
        PeriodClock periods(server, time);
        server.fields[1] = c.taken;
        DrawSnapshot first;
        ASSERT_TRUE(periods.Poll(first)) << c.taken;
        time.now = k0840 + 1;
        server.fields[1] = c.fetched;
        server.fields[7] = "2024-01-01 08:50:00";
        DrawSnapshot second;
        EXPECT_EQ(periods.Poll(second), c.isNew) << c.taken << " then " << c.fetched;
        EXPECT_EQ(periods.Snapshot().latest.period, c.isNew ? c.fetched : c.taken);
        EXPECT_EQ(periods.NextDrawTime(), c.isNew ? k0840 + 600 : k0840);
        EXPECT_EQ(periods.LastPollTime(), time.now);
    }
}

TEST_F(PeriodClockTest, ANestedPollStaysOffTheNetwork) {
    bool nested = true;
    source.during = [&] { nested = periodClock.Poll(out); };
    ASSERT_TRUE(periodClock.Poll(out));
    EXPECT_FALSE(nested);
    EXPECT_EQ(source.drawCalls, 1);
}

}  // namespace
}  // namespace veltra
