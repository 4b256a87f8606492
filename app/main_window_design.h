// The main window and the loading window: every control with its design position,
// size and text. Control names are the window's own and are used everywhere.
#pragma once

#include "platform/window_design.h"

namespace veltra {

inline constexpr const char* kMainWindow = "主窗口";
inline constexpr const char* kLoadingWindow = "载入窗口";

namespace control {
inline constexpr const char* kTitle = "透明标签_窗口标题";
inline constexpr const char* kMinimiseButton = "图形按钮2";
inline constexpr const char* kCloseButton = "图形按钮1";
inline constexpr const char* kCurrentPeriod = "透明标签_当前期号";
inline constexpr const char* kDrawNumber[5] = {"透明标签_开奖1", "透明标签_开奖2", "透明标签_开奖3",
                                               "透明标签_开奖4", "透明标签_开奖5"};
inline constexpr const char* kDrawTime = "透明标签_开奖时间";
inline constexpr const char* kCountdownTimer = "时钟_剩余开奖时间";
inline constexpr const char* kPlanBox = "编辑框_计划";
inline constexpr const char* kPeriodCombo = "组合框_公式期数";
inline constexpr const char* kPeriodSwitch = "超级按钮_期数切换";
inline constexpr const char* kBetPanel = "画板1";
inline constexpr const char* kBetSlider = "多功能条1";
inline constexpr const char* kBetCount = "编辑框_注数";
inline constexpr const char* kBetConfirm = "按钮_修改注数";
inline constexpr const char* kClearButton = "超级按钮_清理计划";
inline constexpr const char* kCopyButton = "超级按钮_复制";
inline constexpr const char* kBalloonTip = "气球提示框1";
inline constexpr const char* kHistoryList = "超级列表框_历史开奖";
inline constexpr const char* kAdvertBox = "超文本浏览框1";
inline constexpr const char* kLoadingPicture = "图片框1";
inline constexpr const char* kLoadingMessage = "标签1";
}  // namespace control

// Artwork names of the pictures the windows show.
namespace artwork {
inline constexpr const char* kBackground = "background";         // 1000 x 700
inline constexpr const char* kBetBackground = "background-bet";  // 1000 x 782
inline constexpr const char* kMinimise = "button-minimise";      // 28 x 33
inline constexpr const char* kClose = "button-close";            // 28 x 33
inline constexpr const char* kLoading = "loading";               // 377 x 126
}  // namespace artwork

WindowDesign MainWindowDesign();
WindowDesign LoadingWindowDesign();

}  // namespace veltra
