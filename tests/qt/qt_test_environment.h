// What every desktop-window test needs: the QApplication (offscreen, or on a private
// Xvfb display), waiting on conditions, finding controls, answering message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/xvfb_display.h"

namespace veltra::test {

// Register in a test file with
//   const auto* kQt = ::testing::AddGlobalTestEnvironment(new QtTestEnvironment(...));
// The application exists while the tests run, with the program's look and a private
// XDG_RUNTIME_DIR.
class QtTestEnvironment : public ::testing::Environment {
  public:
    enum class Platform { Offscreen, Xvfb };
    explicit QtTestEnvironment(Platform platform) : platform(platform) {}
    void SetUp() override;
    void TearDown() override;

  private:
    Platform platform;
    std::unique_ptr<XvfbDisplay> display;
    std::string runtimeDir;
    std::unique_ptr<QApplication> application;
};

// Processes events until condition() holds or timeoutMs has passed; the result of
// the last check.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 20000);

// The object named name below root (widgets, timers, the balloon tip window).
template <typename T = QWidget>
T* FindControl(const QObject* root, const char* name) {
    return root ? root->findChild<T*>(QString::fromUtf8(name)) : nullptr;
}

// Answers each message box that opens while it lives by clicking the button with
// the given text, and records what the boxes said.
class MessageBoxAnswerer {
  public:
    struct Seen {
        std::string text;
        std::string caption;
        std::vector<std::string> buttons;
    };
    explicit MessageBoxAnswerer(std::string button = "确定");
    const std::vector<Seen>& Boxes() const { return seen; }

  private:
    std::string button;
    std::vector<Seen> seen;
    QTimer watch;
};

}  // namespace veltra::test
