#include "appserver/draw_simulator.h"

#include <gtest/gtest.h>

#include <set>

#include "appserver/civil_time.h"
#include "appserver/fixed_offset_zone.h"
#include "appserver/system_local_zone.h"
#include "base/text_integer.h"
#include "base/text_split.h"

namespace veltra {
namespace {

const FixedOffsetZone kChina(8 * 3600);

int64_t At(const char* local) {
    return kChina.ToUnix(*ParseDateTime(local));
}

TEST(CivilTime, DayNumbersAndTexts) {
    EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
    EXPECT_EQ(DaysFromCivil(2024, 1, 1), 19723);
    EXPECT_EQ(DaysFromCivil(1969, 12, 31), -1);
    for (const int64_t day : {-800000, -1, 0, 19723, 19782, 2932896}) {
        const CivilTime date = CivilFromDays(day);
        EXPECT_EQ(DaysFromCivil(date.year, date.month, date.day), day);
    }
    EXPECT_EQ(CivilFromDays(19782), (CivilTime{2024, 2, 29}));
    EXPECT_EQ(FormatDateTime({2024, 1, 5, 8, 3, 9}), "2024-01-05 08:03:09");

    struct Case {
        const char* text;
        std::optional<CivilTime> expected;
    };
    const Case cases[] = {
        {"2024-1-5", CivilTime{2024, 1, 5}},
        {"2024-01-05", CivilTime{2024, 1, 5}},
        {"2024-02-29 23:59:58", CivilTime{2024, 2, 29, 23, 59, 58}},
        {"2023-02-29", std::nullopt},
        {"2024-13-01", std::nullopt},
        {"2024-1-5x", std::nullopt},
        {"2024-01-05 24:00:00", std::nullopt},
        {"2024-01-05 08:30", std::nullopt},
        {"20240105", std::nullopt},
        {"", std::nullopt},
        {"-2024-1-5", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDateTime(c.text), c.expected) << c.text;
}

TEST(LocalZone, FixedOffsetAndSystemZoneConvertBothWays) {
    EXPECT_EQ(At("2024-01-01 08:00:00"), 1704067200);
    EXPECT_EQ(kChina.ToLocal(1704067199), (CivilTime{2024, 1, 1, 7, 59, 59}));
    EXPECT_EQ(FixedOffsetZone(-5 * 3600).ToLocal(-1), (CivilTime{1969, 12, 31, 18, 59, 59}));
    const SystemLocalZone system;
    for (const int64_t t : {0LL, 1704067200LL, 1796985127LL}) {
        EXPECT_EQ(system.ToUnix(system.ToLocal(t)), t);
    }
}

TEST(DrawSimulator, FollowsTheDailySchedule) {
    struct Case {
        const char* now;
        const char* newest;
        const char* newestTime;
        const char* coming;
        const char* comingTime;
    };
    const Case cases[] = {
        {"2024-01-05 00:00:00", "20240104082", "2024-01-04 22:00:00", "20240105001",
         "2024-01-05 08:30:00"},
        {"2024-01-05 08:29:59", "20240104082", "2024-01-04 22:00:00", "20240105001",
         "2024-01-05 08:30:00"},
        {"2024-01-05 08:30:00", "20240105001", "2024-01-05 08:30:00", "20240105002",
         "2024-01-05 08:40:00"},
        {"2024-01-05 08:39:59", "20240105001", "2024-01-05 08:30:00", "20240105002",
         "2024-01-05 08:40:00"},
        {"2024-01-05 15:25:00", "20240105042", "2024-01-05 15:20:00", "20240105043",
         "2024-01-05 15:30:00"},
        {"2024-01-05 21:59:59", "20240105081", "2024-01-05 21:50:00", "20240105082",
         "2024-01-05 22:00:00"},
        {"2024-01-05 22:00:00", "20240105082", "2024-01-05 22:00:00", "20240106001",
         "2024-01-06 08:30:00"},
        {"2024-02-28 23:59:59", "20240228082", "2024-02-28 22:00:00", "20240229001",
         "2024-02-29 08:30:00"},
        {"2024-12-31 22:30:00", "20241231082", "2024-12-31 22:00:00", "20250101001",
         "2025-01-01 08:30:00"},
    };
    const DrawSimulator simulator(kChina, 7);
    for (const Case& c : cases) {
        const DrawRow newest = simulator.Newest(At(c.now));
        const DrawRow coming = simulator.Coming(At(c.now));
        EXPECT_EQ(newest.tag, "jlk3") << c.now;
        EXPECT_EQ(newest.period, c.newest) << c.now;
        EXPECT_EQ(newest.drawTime, c.newestTime) << c.now;
        EXPECT_EQ(coming.period, c.coming) << c.now;
        EXPECT_EQ(coming.drawTime, c.comingTime) << c.now;
        EXPECT_TRUE(coming.numbers.empty() && coming.seed.empty()) << c.now;
    }
}

TEST(DrawSimulator, HistoryIsCompleteAndReachesIntoEarlierDays) {
    const DrawSimulator simulator(kChina, 7);
    const int64_t now = At("2024-01-05 09:05:00");  // four draws today
    const std::vector<DrawRow> rows = simulator.Recent(now, 50);
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_EQ(rows[0], simulator.Newest(now));
    EXPECT_EQ(rows[3].period, "20240105001");
    EXPECT_EQ(rows[4].period, "20240104082");
    EXPECT_EQ(rows[4].drawTime, "2024-01-04 22:00:00");
    EXPECT_EQ(rows[49].period, "20240104037");
    EXPECT_EQ(rows[49].drawTime, "2024-01-04 14:30:00");
    // A period's draw never changes, whenever it is asked for.
    const std::vector<DrawRow> later = simulator.Recent(At("2024-01-06 12:00:00"), 200);
    ASSERT_EQ(later.size(), 200u);
    EXPECT_EQ(later.back().period, "20240103069");
    EXPECT_EQ(later[22 + 82 + 37], rows[41]);
    EXPECT_EQ(rows[41].period, "20240104045");
    EXPECT_TRUE(simulator.Recent(now, 0).empty());

    const std::vector<DrawRow> today = simulator.OnDate(now, {2024, 1, 5});
    ASSERT_EQ(today.size(), 4u);
    EXPECT_EQ(today.front(), rows[0]);
    EXPECT_EQ(today.back().period, "20240105001");
    const std::vector<DrawRow> yesterday = simulator.OnDate(now, {2024, 1, 4});
    ASSERT_EQ(yesterday.size(), 82u);
    EXPECT_EQ(yesterday.front(), rows[4]);
    EXPECT_TRUE(simulator.OnDate(now, {2024, 1, 6}).empty());
}

TEST(DrawSimulator, DrawsAreDiceAndSeedsDeterminedBySeedAndPeriod) {
    const int64_t now = At("2024-01-05 12:00:00");
    const std::vector<DrawRow> rows = DrawSimulator(kChina, 7).Recent(now, 820);
    EXPECT_EQ(rows, DrawSimulator(kChina, 7).Recent(now, 820));
    const std::vector<DrawRow> other = DrawSimulator(kChina, 8).Recent(now, 820);
    int differing = 0;
    std::set<std::string> faces;
    std::set<std::string> seeds;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].numbers != other[i].numbers) ++differing;
        const std::vector<std::string> dice = SplitText(rows[i].numbers, ",");
        ASSERT_EQ(dice.size(), 3u) << rows[i].numbers;
        for (const std::string& die : dice) {
            ASSERT_TRUE(die >= "1" && die <= "6" && die.size() == 1) << rows[i].numbers;
            faces.insert(die);
        }
        const int64_t seed = IntegerOfText(rows[i].seed);
        EXPECT_NE(seed, 0);
        EXPECT_EQ(std::to_string(seed), rows[i].seed);
        EXPECT_EQ(seed, static_cast<int32_t>(seed));
        seeds.insert(rows[i].seed);
    }
    EXPECT_EQ(faces.size(), 6u);
    EXPECT_GT(seeds.size(), 800u);
    EXPECT_GT(differing, 600);
}

TEST(DrawSimulator, FastDemoDayKeepsTheNumbering) {
    const int64_t start = At("2024-01-05 15:00:07");
    const DrawSimulator simulator(kChina, 7, 30, start);
    EXPECT_EQ(simulator.Newest(start).period, "20240104082");
    EXPECT_EQ(simulator.Newest(start).drawTime, "2024-01-05 15:00:00");
    EXPECT_EQ(simulator.Coming(start).period, "20240105001");
    EXPECT_EQ(simulator.Coming(start).drawTime, "2024-01-05 15:00:30");
    EXPECT_EQ(simulator.Newest(At("2024-01-05 15:00:30")).period, "20240105001");
    // 82 draws later the next demo day begins.
    const int64_t dayLater = At("2024-01-05 15:00:30") + 82 * 30;
    EXPECT_EQ(simulator.Newest(dayLater).period, "20240106001");
    EXPECT_EQ(simulator.Newest(dayLater).drawTime, "2024-01-05 15:41:30");
    const std::vector<DrawRow> rows = simulator.Recent(dayLater, 50);
    EXPECT_EQ(rows[1].period, "20240105082");
    EXPECT_EQ(rows[1].drawTime, "2024-01-05 15:41:00");
    EXPECT_EQ(simulator.OnDate(dayLater, {2024, 1, 5}).size(), 82u);
    // The same period draws the same dice as on the real schedule.
    EXPECT_EQ(rows[1].numbers, DrawSimulator(kChina, 7).Newest(At("2024-01-05 23:00:00")).numbers);
}

}  // namespace
}  // namespace veltra
