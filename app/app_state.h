// The small state several parts of the program share.
#pragma once

#include <string>

namespace veltra {

struct AppState {
    int periodCount = 3;           // the period setting "公式期数" in force
    bool startupComplete = false;  // set once start-up has passed its network steps
    std::string settingsPath;
    std::string updaterPath;
};

}  // namespace veltra
