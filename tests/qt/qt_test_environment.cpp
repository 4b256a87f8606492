// The desktop-window tests' application and helpers.
#include "tests/qt/qt_test_environment.h"

#include <stdlib.h>

#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "platform/qt/qt_application.h"

namespace veltra::test {
namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says so for every raise() and window mask: not news.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith("This plugin does not support")) return;
    defaultHandler(type, context, message);
}

char kProgram[] = "veltra-test";
char* kArgv[] = {kProgram, nullptr};
int kArgc = 1;

}  // namespace

void QtTestEnvironment::SetUp() {
    char pattern[] = "/tmp/veltra-xdg-XXXXXX";  // mkdtemp makes it 0700
    if (const char* made = mkdtemp(pattern)) {
        runtimeDir = made;
        setenv("XDG_RUNTIME_DIR", made, 1);
    }
    if (platform == Platform::Xvfb) {
        display = std::make_unique<XvfbDisplay>();
        ASSERT_TRUE(display->Running()) << display->Error();
        setenv("DISPLAY", display->Name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        defaultHandler = qInstallMessageHandler(QuietHandler);
    }
    application = std::make_unique<QApplication>(kArgc, kArgv);
    PrepareQtApplication("veltra-test");
}

void QtTestEnvironment::TearDown() {
    application.reset();
    display.reset();
    if (defaultHandler) qInstallMessageHandler(std::exchange(defaultHandler, nullptr));
    if (!runtimeDir.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(runtimeDir, ignored);
    }
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return condition();
        QTest::qWait(5);  // runs the event loop meanwhile
    }
    return true;
}

MessageBoxAnswerer::MessageBoxAnswerer(std::string answer) : button(std::move(answer)) {
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, &watch, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        Seen s;
        s.text = box->text().toStdString();
        s.caption = box->windowTitle().toStdString();
        QPushButton* chosen = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            s.buttons.push_back(b->text().toStdString());
            if (b->text().toStdString() == button) chosen = qobject_cast<QPushButton*>(b);
        }
        seen.push_back(s);
        if (chosen) {
            QTest::mouseClick(chosen, Qt::LeftButton);
        } else {
            box->reject();
        }
    });
    watch.start();
}

}  // namespace veltra::test
