// The machine's own time zone, as the C library knows it (TZ or /etc/localtime).
#pragma once

#include "appserver/local_zone.h"

namespace veltra {

class SystemLocalZone final : public LocalZone {
  public:
    CivilTime ToLocal(int64_t unixSeconds) const override;
    int64_t ToUnix(const CivilTime& local) const override;
};

}  // namespace veltra
