#include "appserver/clock_control.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace veltra {
namespace {

TEST(ClockControl, SetsOrMovesTheFrozenClockAndRefusesAnythingElse) {
    struct Case {
        const char* body;
        const char* errcode;
        int64_t after;
    };
    const Case cases[] = {
        {"", "0", 1000},
        {"now=5000", "0", 5000},
        {"now=5000\r\n", "0", 5000},
        {"advance=600", "0", 1600},
        {"advance=-1000", "0", 0},
        {"advance=-1001", "8", 1000},
        {"now=-1", "8", 1000},
        {"now=253402300800", "8", 1000},
        {"now=12x", "8", 1000},
        {"advance=", "8", 1000},
        {"later", "8", 1000},
    };
    for (const Case& c : cases) {
        FrozenClock clock(1000);
        ClockControl control(clock);
        const nlohmann::json reply = nlohmann::json::parse(control.Handle(c.body).body);
        EXPECT_EQ(reply["errcode"], c.errcode) << c.body;
        EXPECT_EQ(clock.NowUnixSeconds(), c.after) << c.body;
        if (std::string(c.errcode) == "0") {
            EXPECT_EQ(reply["data"], std::to_string(c.after)) << c.body;
        }
    }
}

}  // namespace
}  // namespace veltra
