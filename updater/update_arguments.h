// The updater's command line: [--dir DIR] NAME OWNVERSION NEWVERSION ADDRESS EXENAME.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltra {

struct UpdateArguments {
    std::string name;                    // the program's name, shown to the user
    std::string ownVersion;              // the version being replaced
    std::string newVersion;              // the version being downloaded
    std::string address;                 // where the new executable is downloaded from
    std::string exeName;                 // file name of the executable in the run directory
    std::filesystem::path runDirectory;  // from --dir; empty: the updater's own directory
};

struct ParsedUpdateArguments {
    bool ok = false;
    UpdateArguments value;
    std::string error;
};

// args exclude the program name. Options come before the five words, so no word
// handed over by the program is taken for an option.
ParsedUpdateArguments ParseUpdateArguments(const std::vector<std::string>& args);

// The usage text, one line per form.
std::string UpdaterUsage();

}  // namespace veltra
