// Starts Xvfb with -displayfd: it writes the display number it chose to a pipe once
// it listens, so the wait is on that pipe, not on time.
#include "tests/support/xvfb_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

extern char** environ;

namespace veltra::test {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kDisplayFd = 3;  // where the child finds the pipe

}  // namespace

XvfbDisplay::XvfbDisplay() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + strerror(errno);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kDisplayFd);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string fd = std::to_string(kDisplayFd);
    std::vector<const char*> argv = {"Xvfb",        "-displayfd", fd.c_str(), "-screen",  "0",
                                     "1280x800x24", "-nolisten",  "tcp",      "-noreset", nullptr};
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, "Xvfb", &actions, nullptr,
                                     const_cast<char* const*>(argv.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        error =
            std::string("cannot start Xvfb (is the package xvfb installed?): ") + strerror(spawned);
        return;
    }
    // The number arrives as "N\n" once the server listens.
    std::string text;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{fds[0], POLLIN, 0};
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buffer[32];
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (text.find('\n') == std::string::npos) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        error = "Xvfb did not report a display";
        return;
    }
    pid = child;
    name = ":" + text.substr(0, text.find('\n'));
}

XvfbDisplay::~XvfbDisplay() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

}  // namespace veltra::test
