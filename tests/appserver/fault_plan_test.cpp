#include "appserver/fault_plan.h"

#include <gtest/gtest.h>

namespace veltra {
namespace {

TEST(FaultPlan, AcceptsWellFormedRulesOnly) {
    struct Case {
        const char* ruleList;
        const char* error;  // nullptr: accepted
    };
    const Case cases[] = {
        {"refuse:init=2", nullptr},
        {"empty", nullptr},
        {"broken:newphase,slow:all=250", nullptr},
        {"badseal:handshake", nullptr},
        {"emptydata:getforecast=1", nullptr},
        {"baddata:select_draw", nullptr},
        {"fewerfields:newestdraw=1,morefields:select_draw_date", nullptr},
        {"baddate:newestdraw", nullptr},
        {"", "empty fault rules"},
        {"explode", "unknown kind"},
        {"refuse:login", "unknown target"},
        {"refuse:init=0", "at least 1"},
        {"refuse:init=two", "at least 1"},
        {"refuse:init=-1", "at least 1"},
        {"slow:init", "slow needs =MILLISECONDS"},
        {"slow=600001", "slow needs =MILLISECONDS"},
        {"badseal:select_draw", "does not apply"},
        {"emptydata:newphase", "does not apply"},
        {"morefields:init", "does not apply"},
        {"baddate:select_draw", "does not apply"},
        {"empty,,refuse", "unknown kind"},
    };
    for (const Case& c : cases) {
        FaultPlan plan;
        std::string error;
        EXPECT_EQ(plan.Add(c.ruleList, &error), c.error == nullptr) << c.ruleList;
        if (c.error != nullptr) {
            EXPECT_NE(error.find(c.error), std::string::npos) << c.ruleList << ": " << error;
            EXPECT_TRUE(plan.Empty());
        }
    }
}

TEST(FaultPlan, CountedRulesRunOutAndDelaysAddUp) {
    FaultPlan plan;
    std::string error;
    ASSERT_TRUE(plan.Add("refuse:init=2,slow:init=100", &error)) << error;
    ASSERT_TRUE(plan.Add("empty:init=1,slow=50,baddata:newestdraw", &error)) << error;

    std::vector<std::optional<FaultKind>> initFaults;
    for (int i = 0; i < 4; ++i) {
        const FaultPlan::Action action = plan.Take("init");
        EXPECT_EQ(action.delayMs, 150);
        initFaults.push_back(action.fault);
    }
    // The first matching rule with turns left decides; later rules wait their turn.
    EXPECT_EQ(initFaults,
              (std::vector<std::optional<FaultKind>>{FaultKind::kRefuse, FaultKind::kRefuse,
                                                     FaultKind::kEmpty, std::nullopt}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(plan.Take("newestdraw").fault, FaultKind::kBadData);
    EXPECT_EQ(plan.Take("handshake").delayMs, 50);
    EXPECT_FALSE(plan.Take("handshake").fault);
}

TEST(FaultPlan, RulesForAllSkipTargetsTheyCannotApplyTo) {
    FaultPlan plan;
    std::string error;
    ASSERT_TRUE(plan.Add("badseal=1,emptydata", &error)) << error;
    EXPECT_EQ(plan.Take("select_draw").fault, FaultKind::kEmptyData);
    EXPECT_EQ(plan.Take("select_draw").fault, FaultKind::kEmptyData);
    EXPECT_FALSE(plan.Take("newphase").fault);
    EXPECT_EQ(plan.Take("init").fault, FaultKind::kBadSeal);  // the one turn was still there
    EXPECT_EQ(plan.Take("init").fault, FaultKind::kEmptyData);
}

}  // namespace
}  // namespace veltra
