// A time zone at a fixed distance from UTC, without clock changes (China keeps UTC+8).
#pragma once

#include "appserver/local_zone.h"

namespace veltra {

class FixedOffsetZone final : public LocalZone {
  public:
    explicit FixedOffsetZone(int offsetSeconds) : offset(offsetSeconds) {}
    CivilTime ToLocal(int64_t unixSeconds) const override;
    int64_t ToUnix(const CivilTime& local) const override;

  private:
    int offset;
};

}  // namespace veltra
