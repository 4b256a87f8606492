// Entry point of the updater. The program starts it with five words as separate
// arguments: NAME OWNVERSION NEWVERSION ADDRESS EXENAME.
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "updater/updater_command.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

// Ctrl+C, a closed terminal or a polite kill stop the download and let the updater
// remove its temporary file rather than dying halfway.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

std::filesystem::path OwnDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    CatchStopSignals();
    veltra::UpdaterEnvironment environment;
    environment.ownDirectory = OwnDirectory();
    environment.progressBar = isatty(STDOUT_FILENO) != 0;
    environment.download.cancel = &stopRequested;
    const std::vector<std::string> args(argv + 1, argv + argc);
    return veltra::RunUpdaterCommand(args, environment, std::cout, std::cerr);
}
