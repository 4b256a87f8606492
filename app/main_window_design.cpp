// The design of the two windows.
#include "app/main_window_design.h"

namespace veltra {

WindowDesign MainWindowDesign() {
    using K = ControlKind;
    WindowDesign w;
    w.name = kMainWindow;
    w.geometry = {50, 50, 1000, 667};
    w.background = artwork::kBackground;
    // The window draws its own title band, with the minimise and close buttons.
    w.systemFrame = false;
    auto& c = w.controls;
    c.push_back(MakeControl(control::kTitle, K::TransparentLabel, {9, 4, 806, 24},
                            "Korvex重庆时时彩计划全能版"));
    c.back().look = ControlLook::WindowTitle;
    c.push_back(MakeControl(control::kMinimiseButton, K::PictureButton, {944, 0, 28, 33}));
    c.back().picture = artwork::kMinimise;
    c.push_back(MakeControl(control::kCloseButton, K::PictureButton, {972, 0, 28, 33}));
    c.back().picture = artwork::kClose;
    c.push_back(MakeControl("透明标签1", K::TransparentLabel, {7, 37, 83, 32}, "实时开奖"));
    c.back().look = ControlLook::Heading;
    c.push_back(MakeControl(control::kCurrentPeriod, K::TransparentLabel, {14, 108, 154, 16},
                            "当前期号:00000000-00"));
    for (int i = 0; i < 5; ++i) {
        c.push_back(MakeControl(control::kDrawNumber[i], K::TransparentLabel,
                                {193 + 60 * i, 99, 27, 28}, "0"));
        c.back().look = ControlLook::Die;
    }
    // The two decoration panels sit on top of labels 2 and 4, which show the commas
    // of a three-number draw: the user sees the dice in labels 1, 3 and 5.
    c.push_back(MakeControl("画板2", K::Panel, {240, 80, 54, 64}));
    c.push_back(MakeControl("画板3", K::Panel, {354, 80, 58, 64}));
    c.push_back(
        MakeControl("透明标签17", K::TransparentLabel, {50, 170, 115, 16}, "开奖剩余时间："));
    c.push_back(
        MakeControl(control::kDrawTime, K::TransparentLabel, {184, 166, 152, 24}, "00：00：00"));
    c.back().look = ControlLook::Countdown;
    c.push_back(MakeControl(control::kCountdownTimer, K::Timer, {506, 73, 0, 0}));
    c.push_back(MakeControl(control::kPlanBox, K::PlanEditBox, {5, 222, 530, 396}));
    c.push_back(MakeControl("画板_期数设置", K::Panel, {332, 222, 186, 32}));
    c.push_back(MakeControl("透明标签7", K::TransparentLabel, {12, 4, 77, 24}, "公式期数设置",
                            "画板_期数设置"));
    c.push_back(
        MakeControl(control::kPeriodCombo, K::ComboBox, {89, 5, 40, 20}, "", "画板_期数设置"));
    c.back().items = {"1", "2", "3"};
    c.push_back(
        MakeControl(control::kPeriodSwitch, K::Button, {128, 0, 57, 31}, "切换", "画板_期数设置"));
    c.push_back(MakeControl(control::kBetPanel, K::Panel, {5, 272, 531, 60}));
    c.back().visible = false;
    c.push_back(
        MakeControl(control::kBetSlider, K::Slider, {19, 24, 368, 16}, "", control::kBetPanel));
    c.push_back(MakeControl(control::kBetCount, K::SpinEditBox, {392, 23, 32, 19}, "25",
                            control::kBetPanel));
    c.push_back(
        MakeControl("透明标签5", K::TransparentLabel, {443, 22, 17, 20}, "注", control::kBetPanel));
    c.push_back(MakeControl(control::kBetConfirm, K::Button, {457, 22, 60, 20}, "确认修改",
                            control::kBetPanel));
    c.push_back(
        MakeControl(control::kClearButton, K::Button, {176, 621, 146, 34}, "清理计划并重新获取"));
    c.push_back(MakeControl(control::kCopyButton, K::Button, {457, 622, 57, 31}, "复制"));
    c.push_back(MakeControl(control::kBalloonTip, K::BalloonTip, {355, 628, 80, 24}));
    c.back().visible = false;
    c.push_back(MakeControl("透明标签2", K::TransparentLabel, {546, 37, 182, 32}, "历史开奖"));
    c.back().look = ControlLook::Heading;
    c.push_back(MakeControl("标签1", K::Label, {546, 69, 180, 25}, "     开奖期号        开奖号"));
    c.back().look = ControlLook::ColumnHeader;
    c.push_back(MakeControl(control::kHistoryList, K::ListView, {546, 93, 180, 562}));
    c.back().columns = {{"开奖期号", 100}, {"开奖号", 62}};
    c.back().rows = {{"00000000-00", "0,0,0"}};
    c.push_back(MakeControl(control::kAdvertBox, K::Browser, {736, 42, 259, 613}));
    return w;
}

WindowDesign LoadingWindowDesign() {
    WindowDesign w;
    w.name = kLoadingWindow;
    w.geometry = {50, 50, 300, 184};
    w.controls.push_back(
        MakeControl(control::kLoadingPicture, ControlKind::PictureBox, {0, 51, 300, 93}));
    w.controls.back().picture = artwork::kLoading;
    w.controls.push_back(MakeControl(control::kLoadingMessage, ControlKind::Label,
                                     {0, 144, 300, 40}, "正在获取网络数据,请稍后……"));
    w.controls.back().look = ControlLook::Message;
    return w;
}

}  // namespace veltra
