// The period clock.
#include "draws/period_clock.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/text_integer.h"
#include "draws/local_time.h"
#include "draws/period_order.h"

namespace veltra {
namespace {

// Seconds between polls that reach the network.
constexpr double kPollSpacing = 6.0;

}  // namespace

PeriodClock::PeriodClock(NewestDrawSource& drawSource, Clock& systemClock)
    : source(drawSource), clock(systemClock) {}

int64_t PeriodClock::NowSeconds(bool milliseconds) {
    const int64_t seconds = clock.NowUnixSeconds();
    return milliseconds ? seconds * 1000 : seconds;
}

std::string PeriodClock::FormatMinutesSeconds(int32_t seconds) {
    if (seconds < 0) return {};
    const auto twoDigits = [](int64_t value) {
        return (value < 10 ? "0" : "") + std::to_string(value);
    };
    return twoDigits(seconds / 60) + "：" + twoDigits(seconds % 60);
}

std::string PeriodClock::RemainingText() {
    const double left =
        std::trunc(static_cast<double>(nextDrawTime) - static_cast<double>(NowSeconds()));
    // Held inside 32 bits: a draw time far off either way is no remaining time to show.
    const double bounded = std::clamp(left, -1.0, 2147483647.0);
    return FormatMinutesSeconds(static_cast<int32_t>(bounded));
}

bool PeriodClock::FetchNewestDraw(DrawSnapshot& out) {
    std::vector<std::string> fields;
    if (!source.NewestDraw(fields) || fields.size() != 8) return false;
    out.latest.tag = fields[0];
    out.latest.period = fields[1];
    out.latest.drawTime = fields[2];
    out.latest.numbers = fields[3];
    out.latest.seed = Int32OfText(fields[4]);
    out.next.tag = fields[5];
    out.next.period = fields[6];
    out.next.drawTime = fields[7];
    return true;
}

bool PeriodClock::Poll(DrawSnapshot& out) {
    if (pollBusy) return false;
    const int64_t now = NowSeconds();
    if (static_cast<double>(now) - (static_cast<double>(lastPollTime) + kPollSpacing) < -0.0000001)
        return false;
    if (now < nextDrawTime) return false;
    lastPollTime = now;
    pollBusy = true;

    // The cheap check saves the newest-draw call when the period text's tail is
    // already known (with the usual 11-digit periods it never matches).
    const std::string period = source.NewestPeriod();
    const std::string tail = period.size() > 3 ? period.substr(period.size() - 3) : period;
    if (tail == snapshot.latest.period) {
        pollBusy = false;
        return false;
    }
    if (!FetchNewestDraw(out)) {
        pollBusy = false;
        return false;
    }
    pollBusy = false;
    lastPollTime = NowSeconds();
    if (out.latest.period == snapshot.latest.period) return false;
    // A server gone back in time (restarted from older data) has no new draw.
    if (IsEarlierPeriod(out.latest.period, snapshot.latest.period)) return false;

    snapshot = out;
    // A coming draw time that is no date-time counts as long past: the next draw is
    // due at once and polling goes on every 6 seconds.
    const std::optional<LocalDateTime> local = ParseLocalDateTime(snapshot.next.drawTime);
    const std::optional<int64_t> next = local ? LocalToUnix(*local) : std::nullopt;
    nextDrawTime = next.value_or(0);
    return true;
}

}  // namespace veltra
