// A process launcher that starts nothing and keeps what it was asked to start.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/process_launcher.h"

namespace veltra::test {

struct RecordingLauncher : ProcessLauncher {
    bool Launch(const std::string& program, const std::vector<std::string>& args) override {
        launches.push_back({program, args});
        return true;
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> launches;
};

}  // namespace veltra::test
