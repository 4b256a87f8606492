// The newest draw the program has taken, the time of the coming draw, and the rules
// for when to ask the server again: at most one poll in 6 seconds, only once the
// coming draw is due, and never two at once.
#pragma once

#include <cstdint>
#include <string>

#include "draws/draw_record.h"
#include "draws/newest_draw_source.h"
#include "platform/clock.h"

namespace veltra {

class PeriodClock {
  public:
    PeriodClock(NewestDrawSource& source, Clock& clock);

    // Takes a new draw into out (and the clock) when one is due and the server has
    // it; true only then. out may hold a fetched but unchanged draw on false. A draw
    // whose dated period number (eight digits or more) is below the one taken last
    // is not new: the clock keeps its draw and polls again.
    bool Poll(DrawSnapshot& out);
    // Minutes and seconds left until the coming draw; empty once it is at least one
    // second past (and before any draw was taken).
    std::string RemainingText();
    // "mm：ss" with a full-width colon and no hour part; empty for negative seconds.
    static std::string FormatMinutesSeconds(int32_t seconds);
    // The newest draw's eight fields into out; false (out unchanged) on failure or
    // another number of fields.
    bool FetchNewestDraw(DrawSnapshot& out);

    // The current time in Unix seconds (or milliseconds).
    int64_t NowSeconds(bool milliseconds = false);

    const DrawSnapshot& Snapshot() const { return snapshot; }
    int64_t NextDrawTime() const { return nextDrawTime; }
    bool PollBusy() const { return pollBusy; }
    int64_t LastPollTime() const { return lastPollTime; }

  private:
    NewestDrawSource& source;
    Clock& clock;
    DrawSnapshot snapshot;
    int64_t nextDrawTime = 0;
    bool pollBusy = false;
    int64_t lastPollTime = 0;
};

}  // namespace veltra
