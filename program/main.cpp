// Entry point of the program: the terminal view on the headless window system when
// there is no display (or --headless), the desktop window otherwise. A build without
// Qt (WITH_GUI=OFF) has the terminal view only.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "app/application.h"
#include "app/program_options.h"
#include "app/terminal_view.h"
#include "platform/clock.h"
#include "platform/headless/headless_window_system.h"
#include "platform/process_launcher.h"
#include "server/http_transport.h"
#include "updater/carried_updater.h"

#ifdef VELTRA_WITH_GUI
#include <time.h>

#include <QApplication>

#include "app/product_profile.h"
#include "platform/qt/font_warm_up.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_window_system.h"
#endif

#ifndef VELTRA_SERVER_HOST
#define VELTRA_SERVER_HOST "127.0.0.1"
#endif

namespace {

std::filesystem::path ExecutableDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path(error);
    return self.parent_path();
}

veltra::Environment MakeEnvironment(const veltra::ProgramOptions& options) {
    std::error_code error;
    veltra::Environment environment;
    environment.currentDirectory = std::filesystem::current_path(error);
    environment.executableDirectory = ExecutableDirectory();
    environment.mainEndpoint =
        options.server.empty() ? std::string("http://") + VELTRA_SERVER_HOST + ":19300/appinit.php"
                               : options.server;
    environment.fallbackEndpoint = "http://127.0.0.1:19200/";
    environment.writeUpdater = [](const std::filesystem::path& path) {
        return veltra::WriteCarriedUpdater(path);
    };
    return environment;
}

int RunHeadless(const veltra::ProgramOptions& options) {
    veltra::HeadlessWindowSystem windows;
    veltra::TerminalView view(windows, std::cout, isatty(STDOUT_FILENO) != 0, std::cin,
                              isatty(STDIN_FILENO) != 0, options.acceptUpdate);
    veltra::TerminalView::InstallSignalHandlers();
    view.Attach();
    veltra::SystemClock clock;
    veltra::SystemProcessLauncher launcher;
    const veltra::HttpTransport transport;
    veltra::Application application(windows, clock, launcher, transport, MakeEnvironment(options));
    const int code = application.Run();
    view.Flush();
    return code;
}

#ifdef VELTRA_WITH_GUI
bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

int RunDesktop(const veltra::ProgramOptions& options, char* programName) {
    const veltra::FontWarmUp fonts;
    // Qt sees no options of its own: the command line is the program's.
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication application(qtArgc, qtArgv);
    veltra::PrepareQtApplication(veltra::ThisProduct().applicationName);
    veltra::QtWindowSystem windows;
    // VELTRA_REPORT_FIRST_PAINT: each window's first paint is reported on standard
    // error with the monotonic clock, for the start-up figures.
    if (std::getenv("VELTRA_REPORT_FIRST_PAINT")) {
        windows.SetFirstPaintListener([](const std::string& window) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            std::cerr << "first-paint " << window << " "
                      << now.tv_sec * 1'000'000'000LL + now.tv_nsec << std::endl;
        });
    }
    veltra::SystemClock clock;
    veltra::SystemProcessLauncher launcher;
    const veltra::HttpTransport transport;
    veltra::Application program(windows, clock, launcher, transport, MakeEnvironment(options));
    return program.Run();
}
#endif

}  // namespace

int main(int argc, char** argv) {
    const veltra::ProgramOptionsResult parsed =
        veltra::ParseProgramOptions({argv + 1, argv + argc});
    if (parsed.help) {
        std::cout << veltra::kProgramUsage;
        return 0;
    }
    if (!parsed.ok) {
        std::cerr << parsed.error << "\n" << veltra::kProgramUsage;
        return 2;
    }
#ifdef VELTRA_WITH_GUI
    if (!parsed.options.headless && DisplayAvailable()) return RunDesktop(parsed.options, argv[0]);
#endif
    return RunHeadless(parsed.options);
}
