// A clock whose wall time stands still at a given instant (the server's --now), moved
// only on request, for reproducible runs; the uptime counter stays the machine's.
#pragma once

#include <atomic>

#include "platform/clock.h"

namespace veltra {

class FrozenClock final : public Clock {
  public:
    explicit FrozenClock(int64_t unixSeconds) : now(unixSeconds) {}
    int64_t NowUnixSeconds() override { return now; }
    int32_t UptimeMilliseconds() override { return system.UptimeMilliseconds(); }
    // Thread-safe.
    void Set(int64_t unixSeconds) { now = unixSeconds; }

  private:
    std::atomic<int64_t> now;
    SystemClock system;
};

}  // namespace veltra
