// Main window handlers.
#include "app/main_window_events.h"

#include <algorithm>
#include <cstdint>

#include "app/main_window_design.h"
#include "base/text_integer.h"

namespace veltra {

void MainWindowEvents::PeriodSwitch() {
    const int v = context.view.ReadPeriodSetting();
    if (v == context.state.periodCount) return;
    context.state.periodCount = v;
    settings.WriteSetting("公式期数", std::to_string(v));
    context.planDisplay.Rebuild(context.state.periodCount);
}

void MainWindowEvents::BetCountConfirm() {
    const int n = context.view.ReadBetCount();
    if (n < context.profile.betMin) {
        context.view.WriteBetCount(context.profile.betMin);
    } else if (n > context.profile.betMax) {
        context.view.WriteBetCount(context.profile.betMax);
    }
    context.planDisplay.SetBetCount(context.view.ReadBetCount());
    settings.WriteSetting("选择注数", std::to_string(context.view.ReadBetCount()));
    context.windows.ShowMessage("更改获取注数成功！", MessageButtons::Ok);
}

void MainWindowEvents::SliderMoved() {
    context.windows.SetText(
        kMainWindow, control::kBetCount,
        std::to_string(context.windows.SliderPosition(kMainWindow, control::kBetSlider)));
}

void MainWindowEvents::BetCountLeft() {
    const auto value = IntegerOfText(context.windows.Text(kMainWindow, control::kBetCount));
    const auto bounded = std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
    context.windows.SetSliderPosition(kMainWindow, control::kBetSlider, static_cast<int>(bounded));
}

void MainWindowEvents::Copy() {
    context.windows.SetClipboardText(context.windows.Text(kMainWindow, control::kPlanBox));
    const Rect window = context.windows.WindowGeometry(kMainWindow);
    const Rect button = context.windows.Geometry(kMainWindow, control::kCopyButton);
    context.windows.ShowBalloonTip(kMainWindow, control::kBalloonTip, "已复制到剪辑版",
                                   window.x + button.x + button.width / 2, window.y + button.y);
}

void MainWindowEvents::ClearAndRebuild() {
    context.planDisplay.ClearAndRebuild(context.state.periodCount);
    context.windows.ShowMessage("清理成功！计划已经重新获取。", MessageButtons::Ok);
}

int MainWindowEvents::PlanBoxCharacter(int code) {
    constexpr int kCopy = 3;
    constexpr int kCut = 24;
    if (code == kCopy || code == kCut) return kCopy;
    return 0;
}

bool MainWindowEvents::AdvertNavigation() {
    if (!context.state.startupComplete) return false;
    OpenWebAddress(context.launcher,
                   context.windows.BrowserAddress(kMainWindow, control::kAdvertBox));
    return true;
}

void MainWindowEvents::Close() {
    // Destroying the main window ends the message loop and with it the program.
    context.windows.DestroyWindow(kMainWindow);
    context.windows.QuitMessageLoop(0);
}

void MainWindowEvents::Minimise() {
    context.windows.MinimiseWindow(kMainWindow);
}

}  // namespace veltra
