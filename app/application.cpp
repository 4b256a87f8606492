// The program's start-up, event dispatch and shutdown.
#include "app/application.h"

#include <system_error>

#include "app/main_window_design.h"
#include "app/process_exit.h"
#include "app/startup_tasks.h"
#include "app/update_check.h"
#include "base/regex.h"
#include "base/text_integer.h"
#include "plan/plan_type_classifier.h"
#include "platform/file_attributes.h"

namespace veltra {

Application::Application(WindowSystem& windowSystem, Clock& systemClock,
                         ProcessLauncher& programLauncher, const HttpTransport& http,
                         Environment env)
    : windows(windowSystem),
      clock(systemClock),
      launcher(programLauncher),
      transport(http),
      environment(std::move(env)) {
    // The global objects, in their fixed order.
    json = std::make_unique<JsonService>();
    client = std::make_unique<AppServerClient>(*json, transport, clock, windows);
    drawSource = std::make_unique<ClientDrawSource>(*client);
    periodClock = std::make_unique<PeriodClock>(*drawSource, clock);
    view = std::make_unique<MainView>(windows);
    currentSnapshot = std::make_unique<DrawSnapshot>();
    recentDraws = std::make_unique<RecentDraws>();
    planBook = std::make_unique<PlanBook>(clock);
    planDisplay =
        std::make_unique<PlanDisplay>(windows, *planBook, *recentDraws, state, profile, clock);
    loading = std::make_unique<LoadingWindow>(windows);
    appInfo = std::make_unique<AppInfo>();
    context = std::unique_ptr<AppContext>(new AppContext{
        windows, clock, launcher, environment, profile, state, *view, *loading, *periodClock,
        *currentSnapshot, *planDisplay, *planBook, *recentDraws, *appInfo, *client});
    countdown = std::make_unique<Countdown>(windows, *view, *periodClock, *planDisplay,
                                            *recentDraws, *currentSnapshot);
    windows.SetEventHandler(this);
}

Application::~Application() {
    Shutdown();
}

void Application::Shutdown() {
    if (shutDown) return;
    shutDown = true;
    windows.SetEventHandler(nullptr);
    // Released in the order they were created; the JSON service first, after which
    // the documents released with the client leave it alone.
    json->Shutdown();
    handlers.reset();
    settings.reset();
    countdown.reset();
    context.reset();
    periodClock.reset();
    drawSource.reset();
    view.reset();
    currentSnapshot.reset();
    planDisplay.reset();
    recentDraws.reset();
    loading.reset();
    appInfo.reset();
    client.reset();
    planBook.reset();
    json.reset();
}

int Application::Run() {
    int exitCode = 0;
    if (Start(exitCode)) {
        try {
            exitCode = windows.RunMessageLoop();
        } catch (const ProcessExit& exit) {
            exitCode = exit.code;
        }
    }
    Shutdown();
    return exitCode;
}

bool Application::Start(int& exitCode) {
    try {
        // A leftover updater from an earlier update is removed; failing that is harmless.
        state.updaterPath = UpdaterPath(environment).string();
        std::error_code ignored;
        std::filesystem::remove(state.updaterPath, ignored);
        PlanNamePatterns();
        profile = environment.product.value_or(ThisProduct());
        ParseBetRange();
        windows.CreateWindow(MainWindowDesign());
        MainWindowStartup();
        return true;
    } catch (const ProcessExit& exit) {
        exitCode = exit.code;
        return false;
    }
}

void Application::ParseBetRange() {
    if (profile.planName.find("注") == std::string::npos) return;
    // Two characters directly before a range such as 5-10.
    static const Regex pattern("(..)([\\d]+)-([\\d]+)");
    const auto m = pattern.FirstMatch(profile.planName);
    if (!m) {
        windows.ShowMessage("正则搜索失败！", MessageButtons::Ok);
        return;
    }
    profile.betPrefix = m->Group(1);
    profile.betMin = static_cast<int>(IntegerOfText(m->Group(2)));
    profile.betMax = static_cast<int>(IntegerOfText(m->Group(3)));
}

void Application::MainWindowStartup() {
    state.settingsPath = (environment.currentDirectory / "配置.ini").string();
    SetHiddenAttribute(state.settingsPath);
    settings = std::make_unique<SettingsFile>(state.settingsPath, profile.applicationName);
    handlers = std::make_unique<MainWindowEvents>(*context, *settings);

    const int64_t n = IntegerOfText(settings->ReadSetting("公式期数", "3"));
    windows.SetComboSelection(kMainWindow, control::kPeriodCombo,
                              static_cast<int>(std::clamp<int64_t>(n - 1, -1, 3)));
    windows.ClearListRows(kMainWindow, control::kHistoryList);
    state.periodCount = windows.ComboSelection(kMainWindow, control::kPeriodCombo) + 1;
    loading->Show("正在连接服务器……");
    view->SetTitle(profile.applicationName);

    StartupTasks tasks(*context);
    if (!tasks.RunUpdateCheck(kMainWindow, control::kPlanBox) || !tasks.RunDrawStartup()) {
        windows.DestroyWindow(kMainWindow);
        EndProcess(0);
    }
    view->SetCountdownStopped(false);
    state.startupComplete = true;
    loading->Close();
    if (!profile.betPrefix.empty()) BetRangeLayout();
    windows.ShowWindow(kMainWindow);
}

void Application::BetRangeLayout() {
    windows.SetWindowBackground(kMainWindow, artwork::kBetBackground);
    const Rect planBox = windows.Geometry(kMainWindow, control::kPlanBox);
    Rect panel = windows.Geometry(kMainWindow, control::kBetPanel);
    windows.SetBackgroundColour(kMainWindow, control::kBetPanel, 0xFFFFFF);
    windows.SetVisible(kMainWindow, control::kBetPanel, true);
    panel.y = planBox.y;
    panel.x = planBox.x;
    windows.SetGeometry(kMainWindow, control::kBetPanel, panel);
    Rect box = planBox;
    box.y = panel.y + panel.height + 11;
    box.height = planBox.height - panel.height - 11;
    windows.SetGeometry(kMainWindow, control::kPlanBox, box);

    windows.SetSliderRange(kMainWindow, control::kBetSlider, profile.betMin, profile.betMax);
    windows.SetSpinRange(kMainWindow, control::kBetCount, profile.betMin, profile.betMax);
    windows.SetSliderPosition(kMainWindow, control::kBetSlider, profile.betMin);
    // The default is the real midpoint as text (7.5 for 5 to 10); its integer is used.
    const double midpoint = profile.betMin + (profile.betMax - profile.betMin) / 2.0;
    std::string fallback = std::to_string(midpoint);
    fallback.erase(fallback.find_last_not_of('0') + 1);
    if (!fallback.empty() && fallback.back() == '.') fallback.pop_back();
    const int64_t b = IntegerOfText(settings->ReadSetting("选择注数", fallback));
    windows.SetSliderPosition(kMainWindow, control::kBetSlider,
                              static_cast<int>(std::clamp<int64_t>(b, INT32_MIN, INT32_MAX)));
    // The count box shows the slider's value before the user touches either control.
    handlers->SliderMoved();
    planDisplay->SetBetCount(windows.SliderPosition(kMainWindow, control::kBetSlider));
}

void Application::OnClick(std::string_view window, std::string_view name) {
    if (window != kMainWindow || !handlers) return;
    if (name == control::kPeriodSwitch) handlers->PeriodSwitch();
    if (name == control::kBetConfirm) handlers->BetCountConfirm();
    if (name == control::kCopyButton) handlers->Copy();
    if (name == control::kClearButton) handlers->ClearAndRebuild();
    if (name == control::kCloseButton) handlers->Close();
    if (name == control::kMinimiseButton) handlers->Minimise();
}

void Application::OnSliderMoved(std::string_view window, std::string_view name) {
    if (window == kMainWindow && name == control::kBetSlider && handlers) handlers->SliderMoved();
}

void Application::OnFocusLost(std::string_view window, std::string_view name) {
    if (window == kMainWindow && name == control::kBetCount && handlers) handlers->BetCountLeft();
}

int Application::OnCharacter(std::string_view window, std::string_view name, int code) {
    if (window == kMainWindow && name == control::kPlanBox)
        return MainWindowEvents::PlanBoxCharacter(code);
    return code;
}

bool Application::OnRightButtonUp(std::string_view window, std::string_view name) {
    return window == kMainWindow && name == control::kPlanBox;
}

bool Application::OnBeforeNavigate(std::string_view window, std::string_view name,
                                   std::string_view /*url*/) {
    return window == kMainWindow && name == control::kAdvertBox && handlers &&
           handlers->AdvertNavigation();
}

void Application::OnTimer(std::string_view window, std::string_view timer) {
    if (window == kMainWindow && timer == control::kCountdownTimer && countdown)
        countdown->CountdownTick();
}

void Application::OnCloseRequest(std::string_view window) {
    if (window == kLoadingWindow) EndProcess(0);
    if (window == kMainWindow && handlers) handlers->Close();
}

void Application::OnFirstActivation(std::string_view window) {
    if (window == kLoadingWindow) windows.ProcessPendingEvents();
}

}  // namespace veltra
