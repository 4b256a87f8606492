// The system time and the millisecond uptime counter, injectable for tests.
#pragma once

#include <cstdint>

namespace veltra {

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since the Unix epoch (UTC).
    virtual int64_t NowUnixSeconds() = 0;
    // Milliseconds since the system started, as a signed 32-bit value that wraps.
    virtual int32_t UptimeMilliseconds() = 0;
};

// The real clocks of the machine.
class SystemClock final : public Clock {
  public:
    int64_t NowUnixSeconds() override;
    int32_t UptimeMilliseconds() override;
};

}  // namespace veltra
