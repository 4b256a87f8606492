// Where the server's draws come from: the simulated lottery day or a history file.
#pragma once

#include <cstdint>
#include <vector>

#include "appserver/civil_time.h"
#include "appserver/draw_row.h"

namespace veltra {

class DrawSource {
  public:
    virtual ~DrawSource() = default;
    // The newest period drawn at `now` (Unix seconds).
    virtual DrawRow Newest(int64_t now) const = 0;
    // The period after the newest one: tag, period and its draw time.
    virtual DrawRow Coming(int64_t now) const = 0;
    // Up to `count` periods drawn at `now`, newest first.
    virtual std::vector<DrawRow> Recent(int64_t now, int count) const = 0;
    // The periods of one lottery day (the date of their period numbers) drawn at
    // `now`, newest first; empty for a day without draws yet.
    virtual std::vector<DrawRow> OnDate(int64_t now, const CivilTime& date) const = 0;
};

}  // namespace veltra
