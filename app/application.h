// The program: its global objects in their fixed order, the start-up sequence, the
// main window's start-up, the event dispatch and the shutdown routine.
#pragma once

#include <memory>
#include <optional>

#include "app/app_context.h"
#include "app/main_window_events.h"
#include "app/settings_file.h"
#include "draws/client_draw_source.h"
#include "draws/countdown.h"
#include "platform/window_events.h"
#include "server/http_transport.h"
#include "server/json_service.h"

namespace veltra {

class Application final : public WindowEvents {
  public:
    Application(WindowSystem& windows, Clock& clock, ProcessLauncher& launcher,
                const HttpTransport& transport, Environment environment);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Starts the program and runs it until the main window is destroyed or the
    // process is ended; returns the exit code. The shutdown routine has run on return.
    int Run();

    // Start-up without the message loop (tests drive the loop themselves): true when
    // the main window is up; otherwise the exit code is in exitCode.
    bool Start(int& exitCode);
    // The shutdown routine: releases the global objects in their order.
    void Shutdown();

    AppContext& Context() { return *context; }
    const AppState& State() const { return state; }
    const ProductProfile& Profile() const { return profile; }
    Countdown& CountdownTimer() { return *countdown; }

    // --- WindowEvents
    void OnClick(std::string_view window, std::string_view control) override;
    void OnSliderMoved(std::string_view window, std::string_view control) override;
    void OnFocusLost(std::string_view window, std::string_view control) override;
    int OnCharacter(std::string_view window, std::string_view control, int code) override;
    bool OnRightButtonUp(std::string_view window, std::string_view control) override;
    bool OnBeforeNavigate(std::string_view window, std::string_view control,
                          std::string_view url) override;
    void OnTimer(std::string_view window, std::string_view timer) override;
    void OnCloseRequest(std::string_view window) override;
    void OnFirstActivation(std::string_view window) override;

  private:
    void ParseBetRange();
    void MainWindowStartup();
    void BetRangeLayout();

    WindowSystem& windows;
    Clock& clock;
    ProcessLauncher& launcher;
    const HttpTransport& transport;
    Environment environment;
    ProductProfile profile;
    AppState state;

    // The global objects, created in this order and released in the same order.
    std::unique_ptr<JsonService> json;
    std::unique_ptr<ClientDrawSource> drawSource;
    std::unique_ptr<PeriodClock> periodClock;
    std::unique_ptr<MainView> view;
    std::unique_ptr<DrawSnapshot> currentSnapshot;
    std::unique_ptr<PlanDisplay> planDisplay;
    std::unique_ptr<RecentDraws> recentDraws;
    std::unique_ptr<LoadingWindow> loading;
    std::unique_ptr<AppInfo> appInfo;
    std::unique_ptr<AppServerClient> client;
    std::unique_ptr<PlanBook> planBook;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<SettingsFile> settings;
    std::unique_ptr<MainWindowEvents> handlers;
    std::unique_ptr<Countdown> countdown;
    bool shutDown = false;
};

}  // namespace veltra
