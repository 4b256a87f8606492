// The first network step of start-up: connect to the application server (main
// endpoint, then the local fallback), keep its application information, and offer a
// newer version when there is one.
#pragma once

#include <string>
#include <string_view>

#include "app/app_context.h"

namespace veltra {

class UpdateCheck {
  public:
    explicit UpdateCheck(AppContext& context) : context(context) {}

    // True when the program may go on; false after the user was told why not.
    bool RunStartup(std::string_view window, std::string_view planBox);
    bool ConnectServer();
    // True unless the server's version is numerically newer; then the offer is made
    // and either the updater runs (the process ends) or false is returned.
    bool CheckVersion(std::string_view serverVersion, std::string_view downloadAddress);

  private:
    AppContext& context;
};

// The leading decimal number of a version text in single precision; 0 when none.
float VersionNumber(std::string_view text);

// Writes the carried updater where it belongs, replacing whatever file is there, and
// starts it by its absolute path with the five words as separate arguments; then
// ends the process. When the updater cannot be written nothing is started: a file
// left at that path by anyone else never runs.
[[noreturn]] void RunUpdater(AppContext& context, std::string_view name,
                             std::string_view ownVersion, std::string_view serverVersion,
                             std::string_view address, std::string_view exe);

// Where the updater program is written: beside the running executable.
std::filesystem::path UpdaterPath(const Environment& environment);

}  // namespace veltra
