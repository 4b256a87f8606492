// What the user's actions on the main window do: the period switch, the bet-count
// panel, copy, clear and rebuild, the plan box's typing filter, the advert box and
// the two picture buttons.
#pragma once

#include <string_view>

#include "app/app_context.h"
#include "app/settings_file.h"

namespace veltra {

class MainWindowEvents {
  public:
    MainWindowEvents(AppContext& context, SettingsFile& settings)
        : context(context), settings(settings) {}

    void PeriodSwitch();
    void BetCountConfirm();
    void SliderMoved();
    void BetCountLeft();
    void Copy();
    void ClearAndRebuild();
    // The character the plan box receives: Ctrl+C passes, Ctrl+X becomes Ctrl+C
    // (copy, remove nothing), anything else is discarded (0).
    static int PlanBoxCharacter(int code);
    // After start-up a navigation of the advert box hands the box's address to the
    // desktop's URL opener and is cancelled (true); before, the box navigates.
    bool AdvertNavigation();
    void Close();
    void Minimise();

  private:
    AppContext& context;
    SettingsFile& settings;
};

}  // namespace veltra
