// The live panel, the history list, the countdown timer and the settings controls of
// the main window, written and read through named controls.
#pragma once

#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace veltra {

class MainView {
  public:
    explicit MainView(WindowSystem& windows) : windows(windows) {}

    void SetDrawTime(std::string_view text);
    // A new top row of the history list.
    void AddHistoryRow(std::string_view period, std::string_view numbers);
    // The period label shows label unchanged; number label i shows the integer of the
    // i-th character of numbers, "0" when it is missing or not a digit.
    void ShowCurrentDraw(std::string_view label, std::string_view numbers);
    void SetTitle(std::string_view text);
    // Stopped: timer period 0; else 100 ms.
    void SetCountdownStopped(bool stopped);
    // Integer of the period combo's text; 0 when nothing is selected.
    int ReadPeriodSetting() const;
    int ReadBetCount() const;
    void WriteBetCount(int count);

  private:
    WindowSystem& windows;
};

}  // namespace veltra
