// The whole program in-process on the headless window system, against the local
// application server run as a child process, with a hand-set clock. The server can
// be killed and started again on the same ports with other options (faults, another
// frozen time), as a real server goes down and comes back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/application.h"
#include "platform/headless/headless_window_system.h"
#include "server/http_transport.h"
#include "tests/support/app_server_process.h"
#include "tests/support/manual_clock.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/temp_dir.h"

namespace veltra::test {

// 2026-12-11 10:05:00 at UTC+8: draw 010 is the newest, 011 is drawn at 10:10:00.
inline constexpr int64_t k1005 = 1796954700;
inline constexpr int64_t kDraw011 = k1005 + 300;
inline constexpr int64_t kDraw012 = k1005 + 900;

// One copy of the program: its own windows and launcher; clock, transport and
// directories are the fixture's.
struct ProgramInstance {
    HeadlessWindowSystem windows;
    RecordingLauncher launcher;
    std::unique_ptr<Application> application;
    int exitCode = -1;

    std::string Text(const char* control) const;
    std::string Plan() const;
    int HistoryRows() const;
    std::string TopPeriod() const;
    // One working tick of the countdown: three ticks of its 100 ms timer.
    void WorkingTick() { windows.AdvanceTime(300); }
};

class ProgramUnderTest {
  public:
    explicit ProgramUnderTest(HttpTransport::Limits limits = {});

    // Starts the server with args and its clock frozen at now; after the first start
    // on the same ports as before. False (with a test failure) when it does not come up.
    bool Serve(std::vector<std::string> args, int64_t now);
    // Kills the server at once (SIGKILL); the next Serve uses its ports again.
    void KillServer();
    // Starts a copy of the program at the fixture's clock; true when its main window is up.
    bool Start(ProgramInstance& instance);
    // How many requests of one kind ("handshake", "newestdraw", "newphase", ...) the
    // running server has received since it started.
    int64_t Requests(const std::string& kind) const;

    ScopedTimeZone zone{"CST-8"};
    TempDir dir;
    ManualClock clock;
    HttpTransport transport;
    Environment environment;
    std::unique_ptr<AppServerProcess> server;

  private:
    std::string mainPort;
    std::string fallbackPort;
};

}  // namespace veltra::test
