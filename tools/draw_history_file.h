// Reads a draw history in the draw-list format: one draw per line (CR LF or LF),
// five fields joined by "|+|" (tag, period, draw time, numbers, seed), newest first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "draws/draw_record.h"

namespace veltra {

struct DrawHistory {
    bool ok = false;
    std::vector<DrawRecord> draws;  // newest first, as in the text
    std::string error;              // when not ok: which line is wrong and why
};

// Empty lines are skipped; any other line must hold exactly five fields.
DrawHistory ParseDrawHistory(std::string_view text);

}  // namespace veltra
