// Runs the local application server binary beside a test: started on free loopback
// ports, its two addresses read from its first line, stopped when the object goes.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace veltra::test {

class AppServerProcess {
  public:
    // Starts the binary with "--main-port 0 --fallback-port 0" followed by extraArgs
    // and waits (at most 20 s) for its line
    // "listening main=http://ADDR:PORT/appinit.php fallback=http://ADDR:PORT/".
    // When that line does not come, Running() is false and Error() says why.
    explicit AppServerProcess(const std::vector<std::string>& extraArgs = {});
    // Stops the process (SIGTERM, SIGKILL after 10 s) if it still runs.
    ~AppServerProcess();
    AppServerProcess(const AppServerProcess&) = delete;
    AppServerProcess& operator=(const AppServerProcess&) = delete;

    bool Running() const { return running; }
    const std::string& Error() const { return error; }
    // The initialisation addresses: "http://ADDR:PORT/appinit.php" and "http://ADDR:PORT/".
    const std::string& MainUrl() const { return mainUrl; }
    const std::string& FallbackUrl() const { return fallbackUrl; }
    // "http://ADDR:PORT" of each port, without a path.
    std::string MainBase() const;
    std::string FallbackBase() const;
    pid_t Pid() const { return pid; }

    // Sends the signal (SIGTERM unless given) and waits for the end, with SIGKILL after
    // 10 s. Result: the exit code, or 128 + the signal when a signal ended it, or -1
    // when it was not running or had to be killed.
    int Stop(int signal = SIGTERM);

    // The server binary: $VELTRA_APPSERVER when set, else the one built with the tests.
    static std::string BinaryPath();

    // Runs the binary with exactly these arguments to its end (at most 20 s) and
    // returns its exit status as Stop() does; output receives stdout and stderr.
    static int RunToEnd(const std::vector<std::string>& args, std::string* output);

  private:
    pid_t pid = -1;
    int pidFd = -1;
    int outFd = -1;
    bool running = false;
    std::string error;
    std::string mainUrl;
    std::string fallbackUrl;
};

}  // namespace veltra::test
