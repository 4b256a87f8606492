// A clock whose wall time stands still at a given instant (the server's --now), for
// reproducible runs; the uptime counter stays the machine's.
#pragma once

#include "platform/clock.h"

namespace veltra {

class FrozenClock final : public Clock {
  public:
    explicit FrozenClock(int64_t unixSeconds) : now(unixSeconds) {}
    int64_t NowUnixSeconds() override { return now; }
    int32_t UptimeMilliseconds() override { return system.UptimeMilliseconds(); }

  private:
    int64_t now;
    SystemClock system;
};

}  // namespace veltra
