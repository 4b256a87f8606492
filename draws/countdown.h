// The countdown: every third tick of the 100 ms timer shows the time left until the
// coming draw, or "正在开奖……" and polls for it; a new draw goes to the live panel,
// the plan and the top of the history, in that order. A draw that is not later than
// the history's newest only updates the live panel.
#pragma once

#include "app/main_view.h"
#include "draws/period_clock.h"
#include "draws/recent_draws.h"
#include "plan/plan_display.h"
#include "platform/window_system.h"

namespace veltra {

class Countdown {
  public:
    Countdown(WindowSystem& windows, MainView& view, PeriodClock& clock, PlanDisplay& display,
              RecentDraws& recentDraws, DrawSnapshot& currentSnapshot);

    // The handler of the countdown timer's tick.
    void CountdownTick();

    int TickCounter() const { return tickCounter; }

  private:
    WindowSystem& windows;
    MainView& view;
    PeriodClock& clock;
    PlanDisplay& display;
    RecentDraws& recentDraws;
    DrawSnapshot& currentSnapshot;
    int tickCounter = 0;
};

}  // namespace veltra
