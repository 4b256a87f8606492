// The countdown tick.
#include "draws/countdown.h"

#include "draws/draw_display.h"

namespace veltra {

Countdown::Countdown(WindowSystem& windowSystem, MainView& mainView, PeriodClock& periodClock,
                     PlanDisplay& planDisplay, RecentDraws& draws, DrawSnapshot& snapshot)
    : windows(windowSystem),
      view(mainView),
      clock(periodClock),
      display(planDisplay),
      recentDraws(draws),
      currentSnapshot(snapshot) {}

void Countdown::CountdownTick() {
    if (tickCounter < 2) {
        ++tickCounter;
        return;
    }
    tickCounter = 0;

    const std::string remaining = clock.RemainingText();
    if (!remaining.empty()) {
        view.SetDrawTime(remaining);
        return;
    }
    view.SetDrawTime("正在开奖……");
    windows.ProcessPendingEvents();
    if (!clock.Poll(currentSnapshot)) return;

    // A copy: a nested tick run from the pending events below may poll into the
    // snapshot again.
    const DrawRecord latest = currentSnapshot.latest;
    ShowLatestDraw(view, currentSnapshot);
    windows.ProcessPendingEvents();
    display.OnNewDraw(latest);
    recentDraws.InsertFront(latest);
    AddDrawRow(view, latest);
}

}  // namespace veltra
