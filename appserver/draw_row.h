// One row of the draw list as the server sends it, and the row's text.
#pragma once

#include <string>

namespace veltra {

// A drawn period: tag, period number, local draw time "yyyy-mm-dd hh:mm:ss", the
// three dice joined by "," and the draw's seed as decimal text. For the coming
// period only tag, period and drawTime are set.
struct DrawRow {
    std::string tag;
    std::string period;
    std::string drawTime;
    std::string numbers;
    std::string seed;

    bool operator==(const DrawRow&) const = default;
};

// The five fields joined by "|+|", in the order above.
std::string JoinDrawRow(const DrawRow& row);

}  // namespace veltra
