// The two network steps of the main window's start-up, each run by a fresh object
// that lives for the step only.
#pragma once

#include <string_view>

#include "app/app_context.h"

namespace veltra {

class StartupTasks {
  public:
    explicit StartupTasks(AppContext& context) : context(context) {}

    bool RunUpdateCheck(std::string_view window, std::string_view planBox);
    bool RunDrawStartup();

  private:
    AppContext& context;
};

}  // namespace veltra
