// The desktop window's figures beside an empty Qt window of the same size, in one
// run on a private Xvfb display against the local application server on loopback:
//   - process start to the main window's first paint (median of several starts),
//   - CPU used over an idle stretch of the countdown (percent of one core),
//   - the peak resident memory (VmHWM) at the end of that stretch.
// Usage: window_figures [--starts N] [--idle-seconds S]
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/app_server_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_display.h"

extern char** environ;

namespace {

int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

struct Child {
    pid_t pid = -1;
    int err = -1;  // its standard error
    int64_t started = 0;
};

Child Spawn(const std::vector<std::string>& args, const std::string& directory) {
    Child child;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return child;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    child.started = MonotonicNs();
    if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    child.err = fds[0];
    return child;
}

// Waits (at most 30 s) for "first-paint <window> <ns>" and returns the ns, or -1.
int64_t FirstPaint(const Child& child, const std::string& window) {
    std::string text;
    const int64_t deadline = MonotonicNs() + 30'000'000'000LL;
    for (;;) {
        const std::string key = "first-paint " + window + " ";
        const size_t at = text.find(key);
        if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
            return std::stoll(text.substr(at + key.size()));
        }
        const int64_t left = (deadline - MonotonicNs()) / 1'000'000;
        pollfd p{child.err, POLLIN, 0};
        if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) return -1;
        char buffer[4096];
        const ssize_t n = read(child.err, buffer, sizeof buffer);
        if (n <= 0) return -1;
        text.append(buffer, static_cast<size_t>(n));
    }
}

void End(Child& child) {
    if (child.pid > 0) {
        kill(child.pid, SIGTERM);
        waitpid(child.pid, nullptr, 0);
    }
    if (child.err >= 0) close(child.err);
    child = {};
}

double CpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long PeakKiB(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int starts = 9;
    int idleSeconds = 60;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--starts") starts = std::atoi(argv[i + 1]);
        if (std::string(argv[i]) == "--idle-seconds") idleSeconds = std::atoi(argv[i + 1]);
    }
    veltra::test::XvfbDisplay display;
    if (!display.Running()) {
        std::cerr << display.Error() << "\n";
        return 1;
    }
    veltra::test::TempDir work;
    std::filesystem::create_directories(work.Path() / "runtime");
    std::filesystem::permissions(work.Path() / "runtime", std::filesystem::perms::owner_all);
    setenv("DISPLAY", display.Name().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("XDG_RUNTIME_DIR", (work.Path() / "runtime").c_str(), 1);
    setenv("VELTRA_REPORT_FIRST_PAINT", "1", 1);
    // A day with one draw an hour: no draw falls into the idle stretch.
    veltra::test::AppServerProcess server({"--interval", "3600"});
    if (!server.Running()) {
        std::cerr << server.Error() << "\n";
        return 1;
    }
    const std::vector<std::string> empty = {VELTRA_EMPTY_WINDOW};
    const std::vector<std::string> program = {VELTRA_PROGRAM, "--server", server.MainUrl()};
    const std::string dir = work.Path().string();

    // Start-up, alternating the two so that both see the same machine.
    std::vector<double> emptyMs, programMs;
    for (int i = 0; i < starts; ++i) {
        for (const bool isProgram : {false, true}) {
            Child child = Spawn(isProgram ? program : empty, dir);
            const int64_t shown = FirstPaint(child, isProgram ? "主窗口" : "empty");
            const int64_t started = child.started;
            End(child);
            if (shown < 0) {
                std::cerr << (isProgram ? "the program" : "the empty window") << " did not show\n";
                return 1;
            }
            (isProgram ? programMs : emptyMs).push_back(static_cast<double>(shown - started) / 1e6);
        }
    }

    // Idle: both side by side, from a little after they are shown.
    Child idleEmpty = Spawn(empty, dir);
    Child idleProgram = Spawn(program, dir);
    if (FirstPaint(idleEmpty, "empty") < 0 || FirstPaint(idleProgram, "主窗口") < 0) {
        std::cerr << "a window did not show\n";
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double emptyCpu0 = CpuSeconds(idleEmpty.pid), programCpu0 = CpuSeconds(idleProgram.pid);
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    const double emptyCpu = CpuSeconds(idleEmpty.pid) - emptyCpu0;
    const double programCpu = CpuSeconds(idleProgram.pid) - programCpu0;
    const long emptyPeak = PeakKiB(idleEmpty.pid), programPeak = PeakKiB(idleProgram.pid);
    End(idleEmpty);
    End(idleProgram);

    const double emptyStart = Median(emptyMs), programStart = Median(programMs);
    std::printf("%-28s %14s %14s %10s\n", "figure", "empty window", "program", "ratio/diff");
    std::printf("%-28s %11.1f ms %11.1f ms %9.2fx\n", "start to window shown", emptyStart,
                programStart, programStart / emptyStart);
    std::printf("%-28s %10.1f MiB %10.1f MiB %+6.1f MiB\n", "peak resident memory",
                emptyPeak / 1024.0, programPeak / 1024.0, (programPeak - emptyPeak) / 1024.0);
    std::printf("%-28s %12.3f %% %12.3f %%\n",
                ("CPU over " + std::to_string(idleSeconds) + " s idle").c_str(),
                100 * emptyCpu / idleSeconds, 100 * programCpu / idleSeconds);
    std::printf("(start-up: median of %d starts each; CPU in percent of one core)\n", starts);
    return 0;
}
