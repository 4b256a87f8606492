// A clock the test sets by hand; the uptime advances by a fixed step per read.
#pragma once

#include "platform/clock.h"

namespace veltra::test {

class ManualClock : public Clock {
  public:
    int64_t NowUnixSeconds() override { return now; }
    int32_t UptimeMilliseconds() override {
        const int32_t value = uptime;
        uptime =
            static_cast<int32_t>(static_cast<uint32_t>(uptime) + static_cast<uint32_t>(uptimeStep));
        return value;
    }

    int64_t now = 1'700'000'000;
    int32_t uptime = 1000;
    int32_t uptimeStep = 0;
};

}  // namespace veltra::test
