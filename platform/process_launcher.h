// Starting other programs without waiting for them: the desktop's URL opener and the
// updater. Arguments always travel as separate words; no shell ever reads them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltra {

class ProcessLauncher {
  public:
    virtual ~ProcessLauncher() = default;
    // Starts program (a path, or a name looked up on PATH) with args as its argv
    // words after the program name, detached; false when it could not be started.
    virtual bool Launch(const std::string& program, const std::vector<std::string>& args) = 0;
};

class SystemProcessLauncher final : public ProcessLauncher {
  public:
    bool Launch(const std::string& program, const std::vector<std::string>& args) override;
};

// True for an http or https address that can be handed on as one argument: a
// scheme of its own, a host, and no blanks or control characters.
bool IsWebAddress(std::string_view url);

// Hands a web address to the desktop's URL opener (xdg-open); anything else is
// refused and nothing is started.
bool OpenWebAddress(ProcessLauncher& launcher, std::string_view url);

}  // namespace veltra
