// The machine's real clocks: wall time and the monotonic boot-time counter.
#include <time.h>

#include "base/text_integer.h"
#include "platform/clock.h"

namespace veltra {

int64_t SystemClock::NowUnixSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec;
}

int32_t SystemClock::UptimeMilliseconds() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return WrapInt32(static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000);
}

}  // namespace veltra
