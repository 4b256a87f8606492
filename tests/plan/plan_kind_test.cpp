#include <gtest/gtest.h>

#include "base/lcg_random.h"
#include "base/regex.h"
#include "plan/distinct_number_kind.h"
#include "plan/plan_type_classifier.h"
#include "plan/position_code_kind.h"
#include "plan/same_number_kind.h"
#include "plan/single_code_kind.h"
#include "plan/sum_big_small_kind.h"
#include "plan/sum_odd_even_kind.h"

namespace veltra {
namespace {

DrawNumbers Draw(const char* a, const char* b, const char* c) {
    return {a, b, c};
}

// The generator's first yield after seeding, computed independently of LcgRandom.
int FirstYield(int32_t seed) {
    const uint32_t state = static_cast<uint32_t>(seed) * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

TEST(PlanKind, SumKindsDrawOneCoinFromTheSeed) {
    SumBigSmallKind bigSmall;
    bigSmall.Configure(1, 3, "和值大小");
    SumOddEvenKind oddEven;
    oddEven.Configure(1, 3, "和值单双");
    for (const int32_t seed : {0, 1, 42, -7, 2147483647, -2147483647 - 1, 11838123}) {
        const bool first = FirstYield(seed) % 2 == 0;  // random(1, 2) gave 1
        EXPECT_EQ(bigSmall.取下期预测(seed), first ? "小" : "大") << seed;
        EXPECT_EQ(oddEven.取下期预测(seed), first ? "单" : "双") << seed;
    }
}

TEST(PlanKind, ForecastsAreAPureFunctionOfTheSeed) {
    PositionCodeKind position;
    position.Configure(3, 4, "个位定4码");
    SharedRandom().Seed(999);
    const std::string first = position.取下期预测(123);
    SharedRandom().Next();
    EXPECT_EQ(position.取下期预测(123), first);
    int different = 0;
    for (int seed = 1; seed <= 20; ++seed) different += position.取下期预测(seed) != first;
    EXPECT_GT(different, 10);
}

TEST(PlanKind, ForecastShapes) {
    SingleCodeKind single;
    single.Configure(3, "独胆定3码");
    EXPECT_TRUE(Regex("0[1-6],0[1-6],0[1-6]").WholeMatch(single.取下期预测(5)));
    single.Configure(0, "独胆定0码");
    EXPECT_TRUE(Regex("0[1-6]").WholeMatch(single.取下期预测(5)));

    PositionCodeKind position;
    for (int codes = 1; codes <= 6; ++codes) {
        position.Configure(2, codes, "十位");
        const std::string forecast = position.取下期预测(77);
        EXPECT_TRUE(Regex("0[1-6]( 0[1-6])*").WholeMatch(forecast)) << forecast;
        EXPECT_EQ(forecast.size(), static_cast<size_t>(codes * 3 - 1));
        for (size_t i = 3; i < forecast.size(); i += 3) EXPECT_LT(forecast[i - 2], forecast[i + 1]);
    }
    EXPECT_EQ((position.Configure(2, 6, "x"), position.取下期预测(3)), "01 02 03 04 05 06");

    DistinctNumberKind distinct;
    distinct.Configure(2, 4, "二不同号");
    const std::string forecast = distinct.取下期预测(8);
    EXPECT_TRUE(Regex("[1-6],[1-6],[1-6],[1-6]").WholeMatch(forecast)) << forecast;

    SameNumberKind same;
    same.Configure(2, "二同号复选");
    EXPECT_TRUE(Regex("([1-6])\\1").WholeMatch(same.取下期预测(8)));
}

TEST(PlanKind, CodeCountsBeyondADieDoNotLoopForever) {
    PositionCodeKind position;
    position.Configure(1, 9, "百位定9码");
    EXPECT_EQ(position.取下期预测(1), "01 02 03 04 05 06");
    position.Configure(1, 0, "百位定0码");
    EXPECT_EQ(position.取下期预测(1).size(), 2u);
    DistinctNumberKind distinct;
    distinct.Configure(1, 40, "x");
    EXPECT_EQ(distinct.取下期预测(1), "1,2,3,4,5,6");
}

TEST(PlanKind, Verification) {
    SumBigSmallKind bigSmall;
    bigSmall.Configure(1, 3, "和值大小");
    SumOddEvenKind oddEven;
    oddEven.Configure(1, 3, "和值单双");
    PositionCodeKind tens;
    tens.Configure(2, 2, "十位定2码");
    SameNumberKind pair;
    pair.Configure(2, "二同号复选");
    DistinctNumberKind twoOf;
    twoOf.Configure(2, 4, "二不同号");
    SingleCodeKind single;
    single.Configure(2, "独胆定2码");

    struct Case {
        const PlanKind* kind;
        DrawNumbers numbers;
        const char* forecast;
        bool hit;
    } cases[] = {
        {&bigSmall, Draw("3", "3", "4"), "小", true},
        {&bigSmall, Draw("3", "3", "4"), "大", false},
        {&bigSmall, Draw("3", "4", "4"), "大", true},
        {&bigSmall, Draw("3", "4", "4"), "大 ", false},
        {&bigSmall, Draw("x", "y", "z"), "小", true},  // non-numbers count 0
        {&oddEven, Draw("1", "2", "4"), "单", true},
        {&oddEven, Draw("1", "2", "4"), "双", false},
        {&tens, Draw("1", "5", "6"), "02 05", true},
        {&tens, Draw("5", "1", "6"), "02 05", false},
        {&pair, Draw("1", "4", "4"), "44", true},
        {&pair, Draw("4", "1", "4"), "44", false},
        {&twoOf, Draw("3", "3", "5"), "1,3,4,6", false},
        {&twoOf, Draw("3", "6", "6"), "1,3,4,6", true},
        {&twoOf, Draw("", "", "5"), "1,,5", false},  // empty pieces match nothing
        {&single, Draw("2", "5", "6"), "03,05", true},
        {&single, Draw("2", "4", "6"), "03,05", false},
        {&single, Draw("", "4", "6"), "03,05", false},
        {&pair, Draw("1", "4", "4"), "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.kind->验证预测(c.numbers, c.forecast), c.hit)
            << c.kind->Name() << " " << c.forecast << " vs " << c.numbers[0] << c.numbers[1]
            << c.numbers[2];
    }
}

TEST(PlanKind, CloneIsIndependent) {
    SumBigSmallKind kind;
    kind.Configure(1, 3, "甲");
    kind.SetPeriodCount(2);
    const std::unique_ptr<PlanKind> copy = kind.Clone();
    kind.SetName("乙");
    EXPECT_EQ(copy->Name(), "甲");
    EXPECT_EQ(copy->PeriodCount(), 2);
    EXPECT_EQ(copy->DisplayMode(), kBracketed);
}

TEST(PlanTypeClassifier, ChoosesTheKindByWholeTextPatterns) {
    struct Case {
        const char* type;
        bool accepted;
        int displayMode;
        const char* forecastPattern;
    } cases[] = {
        {"和值大小", true, kBracketed, "[大小]"},
        {"和值单双", true, kBracketed, "[单双]"},
        {"个位定3码", true, kCompact, "0[1-6] 0[1-6] 0[1-6]"},
        {"百位定5码", true, kBracketed, "0[1-6]( 0[1-6]){4}"},
        {"二同号复选", true, kBracketed, "([1-6])\\1"},
        {"三不同号通选", true, kBracketed, "[1-6](,[1-6]){3}"},
        {"一不同号", true, kBracketed, "[1-6](,[1-6]){3}"},
        {"独胆定2码", true, kBracketed, "0[1-6],0[1-6]"},
        {"独胆定0码", true, kBracketed, "0[1-6]"},
        {"", false, 0, ""},
        {"和值大小 ", false, 0, ""},
        {"x和值大小", false, 0, ""},
        {"四同号复选", false, 0, ""},
        {"个位定0码", false, 0, ""},
        {"个位定7码", false, 0, ""},
        {"独胆定7码", false, 0, ""},
        {"个位定99999999999999999999码", false, 0, ""},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<PlanKind> kind = KindForPlanType(c.type, "名");
        ASSERT_EQ(kind != nullptr, c.accepted) << c.type;
        if (!kind) continue;
        EXPECT_EQ(kind->Name(), "名");
        EXPECT_EQ(kind->DisplayMode(), c.displayMode) << c.type;
        EXPECT_EQ(kind->PeriodCount(), 3);
        EXPECT_TRUE(Regex(c.forecastPattern).WholeMatch(kind->取下期预测(31))) << c.type;
    }
}

TEST(PlanTypeClassifier, ChineseDigitValue) {
    EXPECT_EQ(ChineseDigitValue("零"), 0);
    EXPECT_EQ(ChineseDigitValue("三"), 3);
    EXPECT_EQ(ChineseDigitValue("十"), 10);
    EXPECT_EQ(ChineseDigitValue("两"), -1);
    EXPECT_EQ(ChineseDigitValue("一二"), -1);
    EXPECT_EQ(ChineseDigitValue(""), -1);
}

}  // namespace
}  // namespace veltra
