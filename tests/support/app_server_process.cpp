// Spawns the server without a shell, reads its announcement through a pipe and waits
// for its end through a process file descriptor, so nothing here sleeps or polls.
#include "tests/support/app_server_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace veltra::test {
namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 10000;

struct Spawned {
    pid_t pid = -1;
    int pidFd = -1;
    int outFd = -1;
    std::string error;
};

// Starts path with args; its stdout (and stderr when mergeStderr) goes into a pipe.
Spawned Spawn(const std::string& path, const std::vector<std::string>& args, bool mergeStderr) {
    Spawned result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        result.error = std::string("pipe: ") + strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (mergeStderr) posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    // The child starts with default signal handling, whatever the test runner set up.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGPIPE);
    sigset_t noMask;
    sigemptyset(&noMask);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &noMask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    const int rc =
        posix_spawn(&result.pid, path.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        result.pid = -1;
        result.error = "cannot start " + path + ": " + strerror(rc);
        return result;
    }
    result.outFd = fds[0];
    result.pidFd = static_cast<int>(syscall(SYS_pidfd_open, result.pid, 0));
    return result;
}

int ElapsedMs(std::chrono::steady_clock::time_point since) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - since)
                                .count());
}

// Reads from fd until a line is complete (when untilLine) or the pipe ends, within
// timeoutMs. False on timeout.
bool ReadOutput(int fd, bool untilLine, int timeoutMs, std::string* text) {
    const auto start = std::chrono::steady_clock::now();
    char buffer[4096];
    while (!(untilLine && text->find('\n') != std::string::npos)) {
        const int left = timeoutMs - ElapsedMs(start);
        if (left <= 0) return false;
        pollfd pfd{fd, POLLIN, 0};
        const int ready = poll(&pfd, 1, left);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return !untilLine;
        text->append(buffer, static_cast<size_t>(n));
    }
    return true;
}

// Waits for the process to end within timeoutMs; returns its status as Stop() does,
// or -2 on timeout.
int WaitForEnd(pid_t pid, int pidFd, int timeoutMs) {
    if (pidFd >= 0) {
        pollfd pfd{pidFd, POLLIN, 0};
        int ready;
        do {
            ready = poll(&pfd, 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready == 0) return -2;
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// Ends the process: the given signal first, SIGKILL when it does not end in time.
int Terminate(pid_t pid, int pidFd, int signal) {
    kill(pid, signal);
    int status = WaitForEnd(pid, pidFd, kStopTimeoutMs);
    if (status == -2) {
        kill(pid, SIGKILL);
        WaitForEnd(pid, -1, 0);
        status = -1;
    }
    return status;
}

// The "ADDR:PORT" part of an http URL, without a path.
std::string BaseOf(const std::string& url) {
    const size_t slash = url.find('/', std::strlen("http://"));
    return slash == std::string::npos ? url : url.substr(0, slash);
}

}  // namespace

AppServerProcess::AppServerProcess(const std::vector<std::string>& extraArgs) {
    std::vector<std::string> args = {"--main-port", "0", "--fallback-port", "0"};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    Spawned spawned = Spawn(BinaryPath(), args, false);
    if (spawned.pid < 0) {
        error = spawned.error;
        return;
    }
    pid = spawned.pid;
    pidFd = spawned.pidFd;
    outFd = spawned.outFd;

    std::string line;
    if (!ReadOutput(outFd, true, kStartTimeoutMs, &line)) {
        error = "the server announced no addresses: \"" + line + "\"";
        return;
    }
    line.resize(line.find('\n'));
    const std::string mainTag = "listening main=";
    const std::string fallbackTag = " fallback=";
    const size_t fallbackAt = line.find(fallbackTag);
    if (line.rfind(mainTag, 0) != 0 || fallbackAt == std::string::npos) {
        error = "unexpected first line: \"" + line + "\"";
        return;
    }
    mainUrl = line.substr(mainTag.size(), fallbackAt - mainTag.size());
    fallbackUrl = line.substr(fallbackAt + fallbackTag.size());
    running = true;
}

AppServerProcess::~AppServerProcess() {
    if (pid > 0) Stop();
}

std::string AppServerProcess::MainBase() const {
    return BaseOf(mainUrl);
}
std::string AppServerProcess::FallbackBase() const {
    return BaseOf(fallbackUrl);
}

int AppServerProcess::Stop(int signal) {
    if (pid <= 0) return -1;
    const int status = Terminate(pid, pidFd, signal);
    if (pidFd >= 0) close(pidFd);
    if (outFd >= 0) close(outFd);
    pid = -1;
    pidFd = -1;
    outFd = -1;
    running = false;
    return status;
}

std::string AppServerProcess::BinaryPath() {
    const char* path = getenv("VELTRA_APPSERVER");
    if (path != nullptr && *path != '\0') return path;
    return VELTRA_APPSERVER_BINARY;
}

int AppServerProcess::RunToEnd(const std::vector<std::string>& args, std::string* output) {
    Spawned spawned = Spawn(BinaryPath(), args, true);
    if (spawned.pid < 0) {
        if (output != nullptr) *output = spawned.error;
        return -1;
    }
    std::string text;
    int status = -2;
    if (ReadOutput(spawned.outFd, false, kStartTimeoutMs, &text)) {
        status = WaitForEnd(spawned.pid, spawned.pidFd, kStopTimeoutMs);
    }
    if (status == -2) {
        kill(spawned.pid, SIGKILL);
        WaitForEnd(spawned.pid, -1, 0);
        status = -1;
    }
    close(spawned.outFd);
    if (spawned.pidFd >= 0) close(spawned.pidFd);
    if (output != nullptr) *output = text;
    return status;
}

}  // namespace veltra::test
