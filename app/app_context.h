// The program's global objects and services as one explicit context, handed to the
// start-up steps and the handlers instead of hidden globals.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/loading_window.h"
#include "app/main_view.h"
#include "app/product_profile.h"
#include "draws/draw_record.h"
#include "draws/period_clock.h"
#include "draws/recent_draws.h"
#include "plan/plan_book.h"
#include "plan/plan_display.h"
#include "platform/clock.h"
#include "platform/process_launcher.h"
#include "platform/window_system.h"
#include "server/app_info.h"
#include "server/app_server_client.h"

namespace veltra {

// Where the program runs and whom it talks to; fixed for one run.
struct Environment {
    std::filesystem::path currentDirectory;     // the settings file lives here
    std::filesystem::path executableDirectory;  // the updater is written here
    std::string mainEndpoint;                   // initialisation, tried first
    std::string fallbackEndpoint;               // initialisation on the local machine
    // Writes the carried updater program to a path with its execute bit.
    std::function<bool(const std::filesystem::path&)> writeUpdater;
    // The product this run is; this build's own when not given.
    std::optional<ProductProfile> product;
};

struct AppContext {
    WindowSystem& windows;
    Clock& clock;
    ProcessLauncher& launcher;
    const Environment& environment;
    ProductProfile& profile;
    AppState& state;
    MainView& view;
    LoadingWindow& loading;
    PeriodClock& periodClock;
    DrawSnapshot& currentSnapshot;
    PlanDisplay& planDisplay;
    PlanBook& planBook;
    RecentDraws& recentDraws;
    AppInfo& appInfo;
    AppServerClient& client;
};

}  // namespace veltra
