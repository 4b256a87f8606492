// Draw display steps.
#include "draws/draw_display.h"

namespace veltra {

void ShowLatestDraw(MainView& view, const DrawSnapshot& snapshot) {
    view.ShowCurrentDraw("当前期号：" + snapshot.latest.period, snapshot.latest.numbers);
}

void AddDrawRow(MainView& view, const DrawRecord& draw) {
    view.AddHistoryRow(draw.period, draw.numbers);
}

}  // namespace veltra
