// The plan box: renders one plan of the book with its statistics, refreshes it after
// every live draw, and rebuilds the plan from the draw history.
#pragma once

#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/product_profile.h"
#include "draws/draw_record.h"
#include "draws/recent_draws.h"
#include "plan/plan_book.h"
#include "platform/clock.h"
#include "platform/window_system.h"

namespace veltra {

class PlanDisplay {
  public:
    PlanDisplay(WindowSystem& windows, PlanBook& book, RecentDraws& recentDraws,
                const AppState& state, const ProductProfile& profile, Clock& uptime);

    // Shows the plan called planName in the given control of the given window.
    void Bind(std::string_view window, std::string_view control, std::string_view planName);
    // A live draw: every plan verifies and issues its next forecast; the box is refreshed.
    void OnNewDraw(const DrawRecord& draw);
    // Writes the plan text and the statistics into the box, caret at the end.
    void Refresh();
    // Shows the plan for a bet count and rebuilds it; the replay's hit chance follows
    // the count.
    void SetBetCount(int betCount);
    void ClearAndRebuild(int unused = 0);
    // Forgets every forecast and replays the recent draws with the given period count:
    // the 49 before the newest with hindsight, then the newest live.
    void Rebuild(int periodCount);
    // Adds one plan per word of the first entry of a plan template; false when the
    // template has no entry or a word is not a plan type.
    bool BuildPlansFromTemplate(std::string_view templateText, std::string_view names,
                                bool useNames);

    // The text the box shows for the bound plan.
    std::string BoxText() const;
    const std::string& ShownPlan() const { return shownPlan; }

  private:
    WindowSystem& windows;
    PlanBook& book;
    RecentDraws& recentDraws;
    const AppState& state;
    const ProductProfile& profile;
    Clock& uptime;
    std::string window;
    std::string control;
    std::string shownPlan;
};

}  // namespace veltra
