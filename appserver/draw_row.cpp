// The draw list's row format.
#include "appserver/draw_row.h"

namespace veltra {

std::string JoinDrawRow(const DrawRow& row) {
    const std::string sep = "|+|";
    return row.tag + sep + row.period + sep + row.drawTime + sep + row.numbers + sep + row.seed;
}

}  // namespace veltra
