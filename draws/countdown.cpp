// The countdown tick.
#include "draws/countdown.h"

#include "draws/draw_display.h"
#include "draws/period_order.h"

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
    // The clock's draw can be one the history already holds on top (the start-up poll
    // failed, or the server moved on between the start-up's two calls): it is shown,
    // but not verified or listed a second time.
    if (recentDraws.Count() > 0 && (latest.period == recentDraws.At(1).period ||
                                    IsEarlierPeriod(latest.period, recentDraws.At(1).period))) {
        return;
    }
    windows.ProcessPendingEvents();
    display.OnNewDraw(latest);
    recentDraws.InsertFront(latest);
    AddDrawRow(view, latest);
}

}  // namespace veltra
