// One forecast of a plan: its period window, its text and its outcome.
#pragma once

#include <string>

namespace veltra {

enum ForecastStatus : int { kOpen = 0, kMiss = 1, kHit = 2 };

struct ForecastEntry {
    std::string startSerial;  // three-digit serial of the first period covered
    std::string endSerial;    // three-digit serial of the last period covered
    int status = kOpen;
    std::string forecast;
    std::string drawSerial;   // the latest draw it was verified against; empty until then
    std::string drawNumbers;  // that draw's numbers text as received
};

}  // namespace veltra
