// The newest-draw text of the server, split into its fields the way the client splits
// it and taken into the period clock's snapshot: the draw, the coming draw time read
// as a local date-time, and the countdown text made from it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_split.h"
#include "draws/local_time.h"
#include "draws/newest_draw_source.h"
#include "draws/period_clock.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/manual_clock.h"

namespace veltra {
namespace {

// Answers with the fuzzer's texts: the newest period before the first line feed, the
// newest-draw text after it.
class TextDrawSource : public NewestDrawSource {
  public:
    std::string NewestPeriod() override { return period; }
    bool NewestDraw(std::vector<std::string>& fields) override {
        fields = SplitText(drawText, "| |");
        return !fields.empty();
    }

    std::string period;
    std::string drawText;
};

}  // namespace
}  // namespace veltra

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = text.find('\n');
    TextDrawSource source;
    source.period = std::string(text.substr(0, lineEnd));
    source.drawText =
        lineEnd == std::string_view::npos ? "" : std::string(text.substr(lineEnd + 1));

    test::ManualClock clock;
    clock.now = 1704439500;  // 2024-01-05 07:25:00 UTC
    PeriodClock periodClock(source, clock);
    DrawSnapshot snapshot;
    const bool taken = periodClock.Poll(snapshot);
    const std::vector<std::string> fields = SplitText(source.drawText, "| |");
    if (taken) {
        FUZZ_CHECK(fields.size() == 8);
        FUZZ_CHECK(periodClock.Snapshot().latest.period == fields[1]);
        FUZZ_CHECK(periodClock.Snapshot().next.drawTime == fields[7]);
    }
    // The countdown around the coming draw and far from it.
    for (const int64_t now :
         {clock.now, periodClock.NextDrawTime() - 61, periodClock.NextDrawTime(),
          periodClock.NextDrawTime() + 1, int64_t{0}}) {
        clock.now = now;
        const std::string left = periodClock.RemainingText();
        if (now > periodClock.NextDrawTime()) FUZZ_CHECK(left.empty());
    }

    // Every field read as a local date-time, the way draw times are read.
    for (const std::string& field : fields) {
        if (const std::optional<LocalDateTime> local = ParseLocalDateTime(field)) {
            FUZZ_CHECK(local->month >= 1 && local->month <= 12 && local->day >= 1 &&
                       local->day <= 31 && local->hour <= 23 && local->minute <= 59 &&
                       local->second <= 59);
            LocalToUnix(*local, false);
            LocalToUnix(*local, true);
        }
    }
    return 0;
}
