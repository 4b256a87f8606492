// The two display steps for a draw: the live panel and a new top history row.
#pragma once

#include "app/main_view.h"
#include "draws/draw_record.h"

namespace veltra {

// "当前期号：" + the newest period, and its numbers, on the live panel.
void ShowLatestDraw(MainView& view, const DrawSnapshot& snapshot);
// The draw as the new top row of the history list.
void AddDrawRow(MainView& view, const DrawRecord& draw);

}  // namespace veltra
