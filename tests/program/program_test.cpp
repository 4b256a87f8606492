// The whole program, started in-process on the headless window system against the
// local application server, with an injected clock.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/application.h"
#include "app/main_window_design.h"
#include "app/process_exit.h"
#include "app/settings_file.h"
#include "base/gbk_text.h"
#include "platform/headless/headless_window_system.h"
#include "tests/support/app_server_process.h"
#include "tests/support/manual_clock.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/temp_dir.h"
#include "updater/carried_updater.h"

namespace veltra {
namespace {

constexpr int64_t k1005 = 1796954700;  // 2026-12-11 10:05:00 at UTC+8: draw 010 is the newest
constexpr const char* kProduct = "Veltra吉林快3平刷和值大小";

using test::RecordingLauncher;

std::string ClosedEndpoint() {
    return "http://127.0.0.1:9/appinit.php";
}

class ProgramTest : public ::testing::Test {
  protected:
    // Starts a server with the given options and the program against it.
    void StartServer(std::vector<std::string> args = {}, int64_t now = k1005) {
        args.push_back("--now");
        args.push_back(std::to_string(now));
        args.push_back("--secret");
        args.push_back("program-test");
        server = std::make_unique<test::AppServerProcess>(args);
        ASSERT_TRUE(server->Running()) << server->Error();
        environment.mainEndpoint = server->MainUrl();
        environment.fallbackEndpoint = server->FallbackUrl();
    }
    bool Start() {
        clock.now = k1005;
        application =
            std::make_unique<Application>(windows, clock, launcher, transport, environment);
        return application->Start(exitCode);
    }
    std::string Text(const char* control) const { return windows.Text(kMainWindow, control); }
    std::string Plan() const { return Text(control::kPlanBox); }
    void Tick(int n = 3) { windows.AdvanceTime(100 * n); }
    std::string SettingsBytes() const {
        std::ifstream in(dir.Path() / "配置.ini", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    test::ScopedTimeZone zone{"CST-8"};
    test::TempDir dir;
    std::unique_ptr<test::AppServerProcess> server;
    HeadlessWindowSystem windows;
    test::ManualClock clock;
    RecordingLauncher launcher;
    HttpTransport transport;
    Environment environment{dir.Path(),
                            dir.Path(),
                            "",
                            "",
                            [](const std::filesystem::path& p) { return WriteCarriedUpdater(p); },
                            std::nullopt};
    std::unique_ptr<Application> application;
    int exitCode = -1;
};

TEST_F(ProgramTest, NormalStartShowsDrawsPlanAndCountdown) {
    StartServer();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(windows.WindowVisible(kMainWindow));
    EXPECT_FALSE(windows.WindowExists(kLoadingWindow));
    EXPECT_TRUE(windows.Messages().empty());
    EXPECT_EQ(windows.WindowCaption(kMainWindow), kProduct);
    EXPECT_EQ(Text(control::kTitle), kProduct);
    EXPECT_EQ(application->State().periodCount, 3);
    EXPECT_TRUE(application->State().startupComplete);

    ASSERT_EQ(windows.ListRowCount(kMainWindow, control::kHistoryList), 50);
    EXPECT_EQ(windows.ListCell(kMainWindow, control::kHistoryList, 0, 0), "20261211010");
    EXPECT_EQ(windows.ListCell(kMainWindow, control::kHistoryList, 10, 0),
              "20261210082");  // the day before
    EXPECT_EQ(Text(control::kCurrentPeriod), "当前期号：20261211010");
    const std::string numbers = windows.ListCell(kMainWindow, control::kHistoryList, 0, 1);
    EXPECT_EQ(Text(control::kDrawNumber[0]), numbers.substr(0, 1));
    EXPECT_EQ(Text(control::kDrawNumber[2]), numbers.substr(2, 1));
    EXPECT_EQ(Text(control::kDrawNumber[4]), numbers.substr(4, 1));

    EXPECT_NE(Plan().find("期 和值大小【"), std::string::npos);
    EXPECT_NE(Plan().find("等开\r\n\r\n\r\n当前计划统计：总计"), std::string::npos);
    EXPECT_TRUE(Plan().ends_with("%\r\n彩票有风险，投注需谨慎！"));
    EXPECT_EQ(windows.Control(kMainWindow, control::kPlanBox)->selectionStart, -1);
    EXPECT_EQ(
        windows.BrowserAddress(kMainWindow, control::kAdvertBox).rfind("http://127.0.0.1:", 0), 0u);
    EXPECT_EQ(windows.TimerPeriod(kMainWindow, control::kCountdownTimer), 100);
    Tick(2);
    EXPECT_EQ(Text(control::kDrawTime), "00：00：00");
    Tick(1);
    EXPECT_EQ(Text(control::kDrawTime), "05：00");
}

TEST_F(ProgramTest, ANewDrawReachesPanelPlanAndHistoryOnOneWorkingTick) {
    StartServer();
    ASSERT_TRUE(Start());
    Tick(3);
    clock.now = k1005 + 300;
    Tick(3);
    EXPECT_EQ(Text(control::kDrawTime), "00：00");
    clock.now += 1;
    Tick(3);
    EXPECT_EQ(Text(control::kDrawTime), "正在开奖……");
    EXPECT_EQ(windows.ListRowCount(kMainWindow, control::kHistoryList), 50);

    // The server publishes draw 011: the same server, restarted on its ports later.
    const std::string mainUrl = server->MainUrl(), fallbackUrl = server->FallbackUrl();
    const std::string mainPort =
        mainUrl.substr(mainUrl.rfind(':') + 1, mainUrl.find('/', 7) - mainUrl.rfind(':') - 1);
    const std::string fallbackPort = fallbackUrl.substr(
        fallbackUrl.rfind(':') + 1, fallbackUrl.find('/', 7) - fallbackUrl.rfind(':') - 1);
    server.reset();
    StartServer({"--main-port", mainPort, "--fallback-port", fallbackPort}, k1005 + 310);
    clock.now = k1005 + 310;
    Tick(3);
    EXPECT_EQ(Text(control::kCurrentPeriod), "当前期号：20261211011");
    EXPECT_EQ(windows.ListRowCount(kMainWindow, control::kHistoryList), 51);
    EXPECT_EQ(windows.ListCell(kMainWindow, control::kHistoryList, 0, 0), "20261211011");
    // The open forecast was verified against the new draw.
    const PlanRecord* plan = application->Context().planBook.PlanAt(1);
    ASSERT_NE(plan, nullptr);
    bool verified = false;
    for (const ForecastEntry& e : plan->entries) verified |= e.drawSerial == "011";
    EXPECT_TRUE(verified);
    EXPECT_NE(Plan().find("等开"), std::string::npos);
    EXPECT_EQ(application->Context().recentDraws.Count(), 51);
    Tick(3);
    EXPECT_EQ(Text(control::kDrawTime), "09：50");
}

TEST_F(ProgramTest, PeriodSwitchWritesOnceAndRebuilds) {
    StartServer();
    ASSERT_TRUE(Start());
    windows.Click(kMainWindow, control::kPeriodSwitch);  // unchanged: nothing written
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "配置.ini"));

    windows.SelectComboItem(kMainWindow, control::kPeriodCombo, 0);
    windows.Click(kMainWindow, control::kPeriodSwitch);
    EXPECT_EQ(application->State().periodCount, 1);
    EXPECT_EQ(SettingsBytes(),
              Utf8ToGbk(std::string("[") + kProduct + "]\r\n公式期数=1\r\n").value());
    EXPECT_EQ(Plan().find("-0"), std::string::npos);  // single-period lines only
    EXPECT_NE(Plan().find("→"), std::string::npos);

    const auto written = std::filesystem::last_write_time(dir.Path() / "配置.ini");
    windows.Click(kMainWindow, control::kPeriodSwitch);
    EXPECT_EQ(std::filesystem::last_write_time(dir.Path() / "配置.ini"), written);
}

TEST_F(ProgramTest, ClearCopyAndThePlanBoxFilter) {
    StartServer();
    ASSERT_TRUE(Start());
    windows.Click(kMainWindow, control::kClearButton);
    ASSERT_EQ(windows.Messages().size(), 1u);
    EXPECT_EQ(windows.Messages()[0].text, "清理成功！计划已经重新获取。");
    EXPECT_NE(Plan().find("当前计划统计"), std::string::npos);

    windows.Click(kMainWindow, control::kCopyButton);
    EXPECT_EQ(windows.ClipboardText(), Plan());
    const auto* tip = windows.Control(kMainWindow, control::kBalloonTip);
    EXPECT_EQ(tip->balloonText, "已复制到剪辑版");
    EXPECT_EQ(tip->balloonX, 50 + 457 + 57 / 2);
    EXPECT_EQ(tip->balloonY, 50 + 622);

    EXPECT_EQ(windows.TypeCharacter(kMainWindow, control::kPlanBox, 3), 3);
    EXPECT_EQ(windows.TypeCharacter(kMainWindow, control::kPlanBox, 24), 3);
    EXPECT_EQ(windows.TypeCharacter(kMainWindow, control::kPlanBox, 'a'), 0);
    EXPECT_EQ(windows.TypeCharacter(kMainWindow, control::kPlanBox, 22), 0);  // Ctrl+V
    EXPECT_TRUE(windows.RightButtonUp(kMainWindow, control::kPlanBox));

    // A link in the advert box after start-up goes to the URL opener, with the
    // box's own address, and the box stays on its page.
    const std::string advert = windows.BrowserAddress(kMainWindow, control::kAdvertBox);
    EXPECT_FALSE(windows.FollowLink(kMainWindow, control::kAdvertBox, "http://elsewhere.example/"));
    EXPECT_EQ(windows.BrowserAddress(kMainWindow, control::kAdvertBox), advert);
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].first, "xdg-open");
    EXPECT_EQ(launcher.launches[0].second, std::vector<std::string>{advert});
}

TEST_F(ProgramTest, StoredPeriodSettingSelectsTheCombo) {
    StartServer();
    struct Case {
        const char* stored;
        int periodCount;
        int selection;
    } cases[] = {{"1", 1, 0}, {"2", 2, 1}, {"0", 0, -1}, {"x", 0, -1}, {"4", 0, -1}};
    for (const Case& c : cases) {
        SettingsFile(dir.Path() / "配置.ini", kProduct).WriteSetting("公式期数", c.stored);
        HeadlessWindowSystem fresh;
        Application program(fresh, clock, launcher, transport, environment);
        ASSERT_TRUE(program.Start(exitCode)) << c.stored;
        EXPECT_EQ(program.State().periodCount, c.periodCount) << c.stored;
        EXPECT_EQ(fresh.ComboSelection(kMainWindow, control::kPeriodCombo), c.selection)
            << c.stored;
    }
}

TEST_F(ProgramTest, UnreachableServerEndsWithItsMessageAndNoWindow) {
    environment.mainEndpoint = ClosedEndpoint();
    environment.fallbackEndpoint = "http://127.0.0.1:9/";
    EXPECT_FALSE(Start());
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(windows.Messages().size(), 1u);
    EXPECT_EQ(windows.Messages()[0].text.rfind("初始化连接服务器失败！", 0), 0u)
        << windows.Messages()[0].text;
    EXPECT_NE(windows.Messages()[0].text.find(" 错误代码：9999"), std::string::npos);
    EXPECT_FALSE(windows.WindowExists(kMainWindow));
    EXPECT_FALSE(windows.WindowExists(kLoadingWindow));
}

TEST_F(ProgramTest, OnlyTheFallbackAnswering) {
    StartServer();
    environment.mainEndpoint = ClosedEndpoint();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(windows.WindowVisible(kMainWindow));
    EXPECT_EQ(windows.ListRowCount(kMainWindow, control::kHistoryList), 50);
}

TEST_F(ProgramTest, NewerVersionDeclinedEndsTheProgram) {
    StartServer({"--version", "1.42"});
    windows.ScriptAnswers({MessageResult::Cancel});
    EXPECT_FALSE(Start());
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(windows.Messages().size(), 1u);
    EXPECT_EQ(windows.Messages()[0].text,
              std::string(kProduct) + "已经更新至1.42\r\n点击确定立即更新");
    EXPECT_EQ(windows.Messages()[0].buttons, MessageButtons::OkCancel);
    EXPECT_FALSE(windows.WindowExists(kMainWindow));
    EXPECT_TRUE(launcher.launches.empty());
}

TEST_F(ProgramTest, NewerVersionAcceptedStartsTheUpdaterWithFiveWords) {
    StartServer({"--version", "1.5"});
    windows.ScriptAnswers({MessageResult::Ok});
    EXPECT_FALSE(Start());
    EXPECT_EQ(exitCode, 0);
    const std::filesystem::path updater = dir.Path() / "更新器";
    ASSERT_TRUE(std::filesystem::exists(updater));
    EXPECT_NE(std::filesystem::status(updater).permissions() & std::filesystem::perms::owner_exec,
              std::filesystem::perms::none);
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].first, updater.string());
    const auto& words = launcher.launches[0].second;
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[0], kProduct);
    EXPECT_EQ(words[1], "1.41");
    EXPECT_EQ(words[2], "1.5");
    EXPECT_EQ(words[3].rfind("http://127.0.0.1:", 0), 0u);
    EXPECT_EQ(words[4], std::string(kProduct) + ".exe");
    EXPECT_FALSE(windows.WindowVisible(kMainWindow));
}

TEST_F(ProgramTest, ClosingTheLoadingWindowEndsStartUp) {
    StartServer();
    windows.SetPendingEventHook([this] {
        if (windows.WindowExists(kLoadingWindow)) windows.RequestClose(kLoadingWindow);
    });
    EXPECT_FALSE(Start());
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(windows.WindowVisible(kMainWindow));
}

// A product whose plan name carries a bet range: the bet-count panel appears.
class BetRangeTest : public ProgramTest {
  protected:
    BetRangeTest() {
        ProductProfile product = ThisProduct();
        product.planName = "平刷和值5-10注";
        environment.product = product;
    }
};

TEST_F(BetRangeTest, LayoutDefaultAndClampedCounts) {
    StartServer();
    ASSERT_TRUE(Start());
    EXPECT_EQ(application->Profile().betPrefix, "和值");
    EXPECT_TRUE(windows.Visible(kMainWindow, control::kBetPanel));
    EXPECT_EQ(windows.Geometry(kMainWindow, control::kBetPanel), (Rect{5, 222, 531, 60}));
    EXPECT_EQ(windows.Geometry(kMainWindow, control::kPlanBox), (Rect{5, 293, 530, 325}));
    EXPECT_EQ(windows.Window(kMainWindow)->background, artwork::kBetBackground);
    EXPECT_EQ(windows.SliderPosition(kMainWindow, control::kBetSlider), 7);  // midpoint 7.5
    EXPECT_EQ(Text(control::kBetCount), "7");
    EXPECT_EQ(application->Context().planDisplay.ShownPlan(), "和值7注");

    SettingsFile(dir.Path() / "配置.ini", kProduct).WriteSetting("选择注数", "99");
    HeadlessWindowSystem again;
    Application second(again, clock, launcher, transport, environment);
    ASSERT_TRUE(second.Start(exitCode));
    EXPECT_EQ(again.SliderPosition(kMainWindow, control::kBetSlider), 10);
    EXPECT_EQ(second.Context().planDisplay.ShownPlan(), "和值10注");
}

TEST_F(BetRangeTest, ConfirmClampsStoresAndReports) {
    StartServer();
    ASSERT_TRUE(Start());
    const size_t before = windows.Messages().size();
    windows.SetText(kMainWindow, control::kBetCount, "3");
    windows.Click(kMainWindow, control::kBetConfirm);
    EXPECT_EQ(Text(control::kBetCount), "5");
    EXPECT_EQ(application->Context().planDisplay.ShownPlan(), "和值5注");
    EXPECT_EQ(SettingsFile(dir.Path() / "配置.ini", kProduct).ReadSetting("选择注数", ""), "5");
    ASSERT_GT(windows.Messages().size(), before);
    EXPECT_EQ(windows.Messages().back().text, "更改获取注数成功！");

    windows.SetText(kMainWindow, control::kBetCount, "12");
    windows.LeaveFocus(kMainWindow, control::kBetCount);
    EXPECT_EQ(windows.SliderPosition(kMainWindow, control::kBetSlider), 10);
    EXPECT_EQ(Text(control::kBetCount), "12");  // corrected only by the confirm button
    windows.MoveSlider(kMainWindow, control::kBetSlider, 6);
    EXPECT_EQ(Text(control::kBetCount), "6");
}

TEST_F(ProgramTest, ALeftoverUpdaterIsRemovedAtStart) {
    StartServer();
    std::ofstream(dir.Path() / "更新器") << "old";
    ASSERT_TRUE(Start());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "更新器"));
}

}  // namespace
}  // namespace veltra
