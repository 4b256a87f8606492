// A simulated 吉林快3 lottery: 82 periods a day drawn every 10 minutes from 08:30 to
// 22:00 local time, three dice each, every result a pure function of seed and period.
#pragma once

#include <cstdint>
#include <string>

#include "appserver/draw_source.h"
#include "appserver/local_zone.h"

namespace veltra {

class DrawSimulator final : public DrawSource {
  public:
    static constexpr int kPeriodsPerDay = 82;
    static constexpr int kIntervalSeconds = 600;
    static constexpr int kFirstDrawSecond = 8 * 3600 + 30 * 60;  // 08:30 local

    // The real schedule of the day in `zone`; results depend only on `seed`.
    DrawSimulator(const LocalZone& zone, int64_t seed);
    // A fast demo day: the same numbering, one period every intervalSeconds (>= 1).
    // The first draw after startSeconds is period 001 of the local date of
    // startSeconds; earlier periods (the days before) are history.
    DrawSimulator(const LocalZone& zone, int64_t seed, int intervalSeconds, int64_t startSeconds);

    DrawRow Newest(int64_t now) const override;
    DrawRow Coming(int64_t now) const override;
    std::vector<DrawRow> Recent(int64_t now, int count) const override;
    std::vector<DrawRow> OnDate(int64_t now, const CivilTime& date) const override;

    // The tag of every row.
    static constexpr const char* kTag = "jlk3";

    // The draw of a period number: three dice "a,b,c" and a non-zero seed, both a
    // pure function of the simulator's seed and the period text.
    void DrawOf(const std::string& period, std::string* numbers, std::string* drawSeed) const;

  private:
    // Periods are numbered by one running index: day number × 82 + serial − 1, the day
    // counted from 1970-01-01 (demo: from the start date).
    int64_t NewestIndex(int64_t now) const;
    DrawRow RowOf(int64_t index, bool withDraw) const;

    const LocalZone& zone;
    int64_t seed;
    int interval = 0;           // 0: the real schedule
    int64_t demoFirstDraw = 0;  // demo: the instant of index demoFirstIndex
    int64_t demoFirstIndex = 0;
};

}  // namespace veltra
