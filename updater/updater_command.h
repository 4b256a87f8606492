// The updater as a whole: download the new executable and put it in place of the old
// one, or leave the old one untouched and say why.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "updater/http_download.h"

namespace veltra {

struct UpdaterEnvironment {
    // The directory the updater runs from: the run directory unless --dir names one.
    std::filesystem::path ownDirectory;
    // Progress as a one-line bar (a terminal) rather than plain lines.
    bool progressBar = false;
    DownloadOptions download;
};

// args exclude the program name: [--dir DIR] NAME OWNVERSION NEWVERSION ADDRESS EXENAME.
// Downloads ADDRESS and replaces EXENAME in the run directory with it in one rename,
// mode 0755. Returns 0 when the new executable is in place; 1 when anything failed
// (the old executable untouched, no temporary file left, the reason on err); 2 for a
// wrong command line.
int RunUpdaterCommand(const std::vector<std::string>& args, const UpdaterEnvironment& environment,
                      std::ostream& out, std::ostream& err);

}  // namespace veltra
