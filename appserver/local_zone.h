// The conversion between Unix seconds and the local calendar, as an interface so the
// draw schedule can be tested in any zone.
#pragma once

#include <cstdint>

#include "appserver/civil_time.h"

namespace veltra {

class LocalZone {
  public:
    virtual ~LocalZone() = default;
    // The local date-time of an instant.
    virtual CivilTime ToLocal(int64_t unixSeconds) const = 0;
    // The instant of a local date-time (for a time skipped or repeated by a clock
    // change, one of the instants near it).
    virtual int64_t ToUnix(const CivilTime& local) const = 0;
};

}  // namespace veltra
