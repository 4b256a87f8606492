// Moves a frozen server clock on request (tests: a new draw without waiting for it).
#pragma once

#include <string_view>

#include "appserver/app_service.h"
#include "appserver/frozen_clock.h"

namespace veltra {

class ClockControl {
  public:
    explicit ClockControl(FrozenClock& clock) : clock(clock) {}

    // A POST body "now=UNIXSECONDS" sets the clock, "advance=SECONDS" moves it on
    // (negative: back), an empty body leaves it. The reply's data is the clock's
    // Unix seconds afterwards; anything else is refused (errcode 8) and changes nothing.
    HttpReply Handle(std::string_view body);

  private:
    FrozenClock& clock;
};

}  // namespace veltra
