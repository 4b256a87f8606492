// localtime_r / mktime, both thread-safe on glibc once the zone is loaded.
#include "appserver/system_local_zone.h"

#include <time.h>

namespace veltra {

CivilTime SystemLocalZone::ToLocal(int64_t unixSeconds) const {
    const time_t instant = static_cast<time_t>(unixSeconds);
    tm local{};
    if (localtime_r(&instant, &local) == nullptr) return CivilTime{};
    return CivilTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

int64_t SystemLocalZone::ToUnix(const CivilTime& local) const {
    tm fields{};
    fields.tm_year = local.year - 1900;
    fields.tm_mon = local.month - 1;
    fields.tm_mday = local.day;
    fields.tm_hour = local.hour;
    fields.tm_min = local.minute;
    fields.tm_sec = local.second;
    fields.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&fields));
}

}  // namespace veltra
