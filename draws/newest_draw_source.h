// Where the period clock learns of new draws: the newest period number (cheap) and
// the newest draw with the coming period (an encrypted server call).
#pragma once

#include <string>
#include <vector>

namespace veltra {

class NewestDrawSource {
  public:
    virtual ~NewestDrawSource() = default;
    // The newest period number; empty on any failure.
    virtual std::string NewestPeriod() = 0;
    // The fields of the newest-draw text; false when the call failed.
    virtual bool NewestDraw(std::vector<std::string>& fields) = 0;
};

}  // namespace veltra
