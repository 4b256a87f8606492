#include "app/main_view.h"

#include <gtest/gtest.h>

#include "app/loading_window.h"
#include "app/main_window_design.h"
#include "platform/headless/headless_window_system.h"

namespace veltra {
namespace {

class MainViewTest : public ::testing::Test {
  protected:
    MainViewTest() { windows.CreateWindow(MainWindowDesign()); }
    std::string Numbers() const {
        std::string shown;
        for (const char* label : control::kDrawNumber) shown += windows.Text(kMainWindow, label);
        return shown;
    }

    HeadlessWindowSystem windows;
    MainView view{windows};
};

TEST_F(MainViewTest, WindowHoldsEveryControlAtItsDesignPlace) {
    EXPECT_EQ(windows.WindowGeometry(kMainWindow), (Rect{50, 50, 1000, 667}));
    EXPECT_FALSE(windows.WindowVisible(kMainWindow));
    EXPECT_EQ(windows.Window(kMainWindow)->controls.size(), 32u);
    EXPECT_EQ(windows.Geometry(kMainWindow, control::kPlanBox), (Rect{5, 222, 530, 396}));
    EXPECT_EQ(windows.Text(kMainWindow, control::kCurrentPeriod), "当前期号:00000000-00");
    EXPECT_EQ(windows.Text(kMainWindow, "标签1"), "     开奖期号        开奖号");
    EXPECT_FALSE(windows.Visible(kMainWindow, control::kBetPanel));
    EXPECT_EQ(windows.Control(kMainWindow, control::kBetSlider)->design.parent, control::kBetPanel);
    EXPECT_EQ(windows.ListRowCount(kMainWindow, control::kHistoryList), 1);
    EXPECT_EQ(view.ReadPeriodSetting(), 1);  // the first item is selected at design time
}

TEST_F(MainViewTest, ShowCurrentDrawWritesOneCharacterPerLabel) {
    struct Case {
        const char* numbers;
        const char* shown;
    } cases[] = {{"12345", "12345"},
                 {"1,2,3", "10203"},
                 {"456", "45600"},
                 {"", "00000"},
                 {"6,6,6,9,9", "60606"}};
    for (const Case& c : cases) {
        view.ShowCurrentDraw("当前期号：20261211043", c.numbers);
        EXPECT_EQ(Numbers(), c.shown) << c.numbers;
    }
    EXPECT_EQ(windows.Text(kMainWindow, control::kCurrentPeriod), "当前期号：20261211043");
}

TEST_F(MainViewTest, HistoryRowsGoOnTop) {
    windows.ClearListRows(kMainWindow, control::kHistoryList);
    view.AddHistoryRow("p1", "1,2,3");
    view.AddHistoryRow("p2", "4,5,6");
    ASSERT_EQ(windows.ListRowCount(kMainWindow, control::kHistoryList), 2);
    EXPECT_EQ(windows.ListCell(kMainWindow, control::kHistoryList, 0, 0), "p2");
    EXPECT_EQ(windows.ListCell(kMainWindow, control::kHistoryList, 1, 1), "1,2,3");
}

TEST_F(MainViewTest, SettingsControlsTitleAndTimer) {
    windows.SetComboSelection(kMainWindow, control::kPeriodCombo, 1);
    EXPECT_EQ(view.ReadPeriodSetting(), 2);
    windows.SetComboSelection(kMainWindow, control::kPeriodCombo, 3);  // names no item
    EXPECT_EQ(view.ReadPeriodSetting(), 0);
    windows.SetText(kMainWindow, control::kBetCount, "abc");
    EXPECT_EQ(view.ReadBetCount(), 0);
    view.WriteBetCount(7);
    EXPECT_EQ(view.ReadBetCount(), 7);
    view.SetTitle("标题");
    EXPECT_EQ(windows.Text(kMainWindow, control::kTitle), "标题");
    EXPECT_EQ(windows.WindowCaption(kMainWindow), "标题");
    view.SetDrawTime("04：59");
    EXPECT_EQ(windows.Text(kMainWindow, control::kDrawTime), "04：59");
    view.SetCountdownStopped(false);
    EXPECT_EQ(windows.TimerPeriod(kMainWindow, control::kCountdownTimer), 100);
    view.SetCountdownStopped(true);
    EXPECT_EQ(windows.TimerPeriod(kMainWindow, control::kCountdownTimer), 0);
}

TEST(LoadingWindow, ShowsOnceAndClosesQuietly) {
    HeadlessWindowSystem windows;
    LoadingWindow loading(windows);
    EXPECT_FALSE(loading.Close());
    ASSERT_TRUE(loading.Show("正在连接服务器……"));
    EXPECT_TRUE(windows.WindowVisible(kLoadingWindow));
    EXPECT_EQ(windows.PendingEventRuns(), 1);  // painted before the caller blocks
    EXPECT_FALSE(loading.Show("第二次"));
    EXPECT_EQ(windows.Text(kLoadingWindow, control::kLoadingMessage), "正在连接服务器……");
    EXPECT_EQ(windows.WindowGeometry(kLoadingWindow), (Rect{50, 50, 300, 184}));
    EXPECT_TRUE(loading.Close());
    EXPECT_FALSE(windows.WindowExists(kLoadingWindow));
}

// Records the timer events the window system delivers.
struct TimerLog : WindowEvents {
    void OnTimer(std::string_view, std::string_view timer) override { ticks.emplace_back(timer); }
    std::vector<std::string> ticks;
};

TEST(HeadlessWindowSystem, TimersFireOnTheVirtualClock) {
    HeadlessWindowSystem windows;
    TimerLog log;
    windows.SetEventHandler(&log);
    windows.CreateWindow(MainWindowDesign());
    windows.AdvanceTime(1000);
    EXPECT_TRUE(log.ticks.empty());  // stopped at design time
    windows.SetTimerPeriod(kMainWindow, control::kCountdownTimer, 100);
    windows.AdvanceTime(99);
    EXPECT_TRUE(log.ticks.empty());
    windows.AdvanceTime(1);
    EXPECT_EQ(log.ticks.size(), 1u);
    windows.AdvanceTime(1000);
    EXPECT_EQ(log.ticks.size(), 11u);
    windows.SetTimerPeriod(kMainWindow, control::kCountdownTimer, 0);
    windows.AdvanceTime(1000);
    EXPECT_EQ(log.ticks.size(), 11u);
}

TEST(HeadlessWindowSystem, SlidersClampAndComboTextFollowsTheSelection) {
    HeadlessWindowSystem windows;
    windows.CreateWindow(MainWindowDesign());
    windows.SetSliderRange(kMainWindow, control::kBetSlider, 5, 10);
    windows.SetSliderPosition(kMainWindow, control::kBetSlider, 12);
    EXPECT_EQ(windows.SliderPosition(kMainWindow, control::kBetSlider), 10);
    windows.SetSliderPosition(kMainWindow, control::kBetSlider, -3);
    EXPECT_EQ(windows.SliderPosition(kMainWindow, control::kBetSlider), 5);
    windows.SetComboSelection(kMainWindow, control::kPeriodCombo, 2);
    EXPECT_EQ(windows.Text(kMainWindow, control::kPeriodCombo), "3");
    windows.SetComboSelection(kMainWindow, control::kPeriodCombo, -1);
    EXPECT_EQ(windows.Text(kMainWindow, control::kPeriodCombo), "");
}

}  // namespace
}  // namespace veltra
