// The main view.
#include "app/main_view.h"

#include "app/main_window_design.h"
#include "base/text_integer.h"

namespace veltra {

void MainView::SetDrawTime(std::string_view text) {
    windows.SetText(kMainWindow, control::kDrawTime, text);
}

void MainView::AddHistoryRow(std::string_view period, std::string_view numbers) {
    windows.InsertListRow(kMainWindow, control::kHistoryList, 0,
                          {std::string(period), std::string(numbers)});
}

void MainView::ShowCurrentDraw(std::string_view label, std::string_view numbers) {
    windows.SetText(kMainWindow, control::kCurrentPeriod, label);
    for (size_t i = 0; i < 5; ++i) {
        // One byte per label: the numbers are ASCII, and anything else reads as 0.
        const std::string_view character =
            i < numbers.size() ? numbers.substr(i, 1) : std::string_view();
        windows.SetText(kMainWindow, control::kDrawNumber[i],
                        std::to_string(IntegerOfText(character)));
    }
}

void MainView::SetTitle(std::string_view text) {
    windows.SetText(kMainWindow, control::kTitle, text);
    windows.SetWindowCaption(kMainWindow, text);
}

void MainView::SetCountdownStopped(bool stopped) {
    windows.SetTimerPeriod(kMainWindow, control::kCountdownTimer, stopped ? 0 : 100);
}

int MainView::ReadPeriodSetting() const {
    return static_cast<int>(IntegerOfText(windows.Text(kMainWindow, control::kPeriodCombo)));
}

int MainView::ReadBetCount() const {
    return static_cast<int>(IntegerOfText(windows.Text(kMainWindow, control::kBetCount)));
}

void MainView::WriteBetCount(int count) {
    windows.SetText(kMainWindow, control::kBetCount, std::to_string(count));
}

}  // namespace veltra
