// Calendar arithmetic shifted by the zone's offset.
#include "appserver/fixed_offset_zone.h"

namespace veltra {

CivilTime FixedOffsetZone::ToLocal(int64_t unixSeconds) const {
    const int64_t local = unixSeconds + offset;
    const int64_t days = (local >= 0 ? local : local - 86399) / 86400;
    const int64_t secondOfDay = local - days * 86400;
    CivilTime time = CivilFromDays(days);
    time.hour = static_cast<int>(secondOfDay / 3600);
    time.minute = static_cast<int>(secondOfDay / 60 % 60);
    time.second = static_cast<int>(secondOfDay % 60);
    return time;
}

int64_t FixedOffsetZone::ToUnix(const CivilTime& local) const {
    return DaysFromCivil(local.year, local.month, local.day) * 86400 + local.hour * 3600 +
           local.minute * 60 + local.second - offset;
}

}  // namespace veltra
