// The whole program in the desktop window (offscreen) against the local application
// server, beside the same start-up on the headless window system: what the window
// shows must be what the headless run holds, and the handlers must answer real
// widget events.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include "app/application.h"
#include "app/main_window_design.h"
#include "app/settings_file.h"
#include "platform/headless/headless_window_system.h"
#include "platform/qt/balloon_tip.h"
#include "platform/qt/qt_window_system.h"
#include "tests/qt/qt_test_environment.h"
#include "tests/support/app_server_process.h"
#include "tests/support/manual_clock.h"
#include "tests/support/recording_launcher.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/temp_dir.h"
#include "updater/carried_updater.h"

namespace veltra {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(
    new test::QtTestEnvironment(test::QtTestEnvironment::Platform::Offscreen));

constexpr int64_t k1005 = 1796954700;  // 2026-12-11 10:05:00 at UTC+8: draw 010 is the newest
constexpr const char* kProduct = "Veltra吉林快3平刷和值大小";

using test::RecordingLauncher;

std::string Lf(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}

// The text a widget shows, whatever its kind.
std::string Shown(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text().toStdString();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(widget))
        return box->toPlainText().toStdString();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->currentText().toStdString();
    if (auto* spin = qobject_cast<const QAbstractSpinBox*>(widget))
        return spin->text().toStdString();
    return {};
}

QPoint Centre(const Rect& r) {
    return QPoint(r.x + r.width / 2, r.y + r.height / 2);
}

class QtProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server = std::make_unique<test::AppServerProcess>(std::vector<std::string>{
            "--now", std::to_string(k1005), "--secret", "qt-program-test"});
        ASSERT_TRUE(server->Running()) << server->Error();
        qtClock.now = headlessClock.now = k1005;
        windows.SetFirstPaintListener([this](const std::string& name) { painted.push_back(name); });
    }
    Environment MakeEnvironment(const test::TempDir& dir) const {
        return {dir.Path(),
                dir.Path(),
                server->MainUrl(),
                server->FallbackUrl(),
                [](const std::filesystem::path& p) { return WriteCarriedUpdater(p); },
                std::nullopt};
    }
    // The same start-up on both window systems; the server's clock is frozen and both
    // uptime counters read the same, so both build the same plan.
    void StartBoth() {
        headlessProgram = std::make_unique<Application>(headless, headlessClock, headlessLauncher,
                                                        transport, MakeEnvironment(headlessDir));
        int code = -1;
        ASSERT_TRUE(headlessProgram->Start(code));
        program = std::make_unique<Application>(windows, qtClock, launcher, transport,
                                                MakeEnvironment(qtDir));
        ASSERT_TRUE(program->Start(code));
        main = windows.WindowWidgetOf(kMainWindow);
        ASSERT_NE(main, nullptr);
    }
    template <typename T = QWidget>
    T* Widget(const char* name) const {
        return test::FindControl<T>(main, name);
    }
    std::string HeadlessPlan() const { return Lf(headless.Text(kMainWindow, control::kPlanBox)); }
    std::string Plan() const { return Shown(Widget(control::kPlanBox)); }

    test::ScopedTimeZone zone{"CST-8"};
    std::unique_ptr<test::AppServerProcess> server;
    test::TempDir headlessDir, qtDir;
    HttpTransport transport;
    HeadlessWindowSystem headless;
    test::ManualClock headlessClock;
    RecordingLauncher headlessLauncher;
    std::unique_ptr<Application> headlessProgram;
    QtWindowSystem windows;
    test::ManualClock qtClock;
    RecordingLauncher launcher;
    std::unique_ptr<Application> program;
    QWidget* main = nullptr;
    std::vector<std::string> painted;
};

TEST_F(QtProgramTest, ComesUpShowingWhatTheHeadlessRunHolds) {
    StartBoth();
    EXPECT_EQ(painted, (std::vector<std::string>{kLoadingWindow, kMainWindow}));
    EXPECT_FALSE(windows.WindowExists(kLoadingWindow));
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->geometry(), QRect(50, 50, 1000, 667));
    EXPECT_TRUE(main->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(main->windowTitle().toStdString(), kProduct);

    // Every control, by its name, at its place, showing what the headless run holds.
    for (const ControlDesign& c : MainWindowDesign().controls) {
        SCOPED_TRACE(c.name);
        if (c.kind == ControlKind::Timer) {
            auto* timer = test::FindControl<QTimer>(main, c.name.c_str());
            ASSERT_NE(timer, nullptr);
            EXPECT_TRUE(timer->isActive());
            EXPECT_EQ(timer->interval(), 100);
            continue;
        }
        QWidget* widget = Widget(c.name.c_str());
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(Shown(widget), Lf(headless.Text(kMainWindow, c.name)));
        EXPECT_EQ(!widget->isHidden(), headless.Visible(kMainWindow, c.name));
        if (c.kind == ControlKind::BalloonTip) continue;
        const Rect design = headless.Geometry(kMainWindow, c.name);
        EXPECT_EQ(design, c.geometry);
        EXPECT_EQ(widget->geometry(), QRect(design.x, design.y, design.width, design.height));
        const QWidget* parent = c.parent.empty() ? main : Widget(c.parent.c_str());
        EXPECT_EQ(widget->parentWidget(), parent);
    }
    EXPECT_EQ(Shown(Widget(control::kTitle)), kProduct);
    EXPECT_EQ(Shown(Widget(control::kCurrentPeriod)), "当前期号：20261211010");
    EXPECT_NE(Plan().find("当前计划统计"), std::string::npos);
    EXPECT_EQ(Plan(), HeadlessPlan());

    auto* list = Widget<QTreeWidget>(control::kHistoryList);
    ASSERT_EQ(list->topLevelItemCount(), 50);
    for (int row = 0; row < 50; ++row) {
        for (int column = 0; column < 2; ++column) {
            EXPECT_EQ(list->topLevelItem(row)->text(column).toStdString(),
                      headless.ListCell(kMainWindow, control::kHistoryList, row, column));
        }
    }
    EXPECT_EQ(list->columnWidth(0), 100);
    EXPECT_EQ(list->columnWidth(1), 62);

    // The decoration panels cover labels 2 and 4; the dice show in labels 1, 3 and 5.
    const auto at = [&](const char* name) {
        return main->childAt(Centre(headless.Geometry(kMainWindow, name)));
    };
    EXPECT_EQ(at(control::kDrawNumber[1]), Widget("画板2"));
    EXPECT_EQ(at(control::kDrawNumber[3]), Widget("画板3"));
    for (int i : {0, 2, 4}) EXPECT_EQ(at(control::kDrawNumber[i]), Widget(control::kDrawNumber[i]));

    // The newest plan lines are in view.
    auto* box = Widget<QPlainTextEdit>(control::kPlanBox);
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
    EXPECT_EQ(box->textCursor().position(), box->document()->characterCount() - 1);

    // The advert page arrives, and the countdown ticks on its Qt timer.
    auto* advert = Widget<QTextBrowser>(control::kAdvertBox);
    EXPECT_TRUE(test::WaitFor([&] { return advert->toPlainText().contains("吉林快3 开奖信息"); }));
    EXPECT_TRUE(test::WaitFor([&] { return Shown(Widget(control::kDrawTime)) == "05：00"; }));
}

TEST_F(QtProgramTest, PeriodSwitchThroughTheComboAndButton) {
    StartBoth();
    auto* combo = Widget<QComboBox>(control::kPeriodCombo);
    ASSERT_EQ(combo->currentText(), "3");
    QTest::keyClick(combo, Qt::Key_Up);
    QTest::keyClick(combo, Qt::Key_Up);
    ASSERT_EQ(combo->currentText(), "1");
    QTest::mouseClick(Widget(control::kPeriodSwitch), Qt::LeftButton);
    EXPECT_EQ(program->State().periodCount, 1);
    EXPECT_EQ(SettingsFile(qtDir.Path() / "配置.ini", kProduct).ReadSetting("公式期数", ""), "1");

    headless.SelectComboItem(kMainWindow, control::kPeriodCombo, 0);
    headless.Click(kMainWindow, control::kPeriodSwitch);
    EXPECT_EQ(Plan(), HeadlessPlan());
    EXPECT_EQ(Plan().find("-0"), std::string::npos);  // single-period lines only
}

TEST_F(QtProgramTest, CopyClearAndThePlanBoxThatTakesNoTyping) {
    StartBoth();
    const std::string plan = Plan();
    QTest::mouseClick(Widget(control::kCopyButton), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), plan);
    auto* tip = test::FindControl<BalloonTip>(main, control::kBalloonTip);
    ASSERT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->Text(), "已复制到剪辑版");
    // The middle of the copy button's top edge, on the screen.
    EXPECT_EQ(tip->StemTip(), QPoint(50 + 457 + 57 / 2, 50 + 622));

    auto* box = Widget<QPlainTextEdit>(control::kPlanBox);
    box->setFocus();
    QTest::keyClicks(box, "12ab");
    for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Space}) {
        QTest::keyClick(box, key);
    }
    QGuiApplication::clipboard()->setText("粘贴");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Plan(), plan);
    // Ctrl+X copies the selection and leaves the text in place.
    QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);
    const std::string firstLine = plan.substr(0, plan.find('\n'));
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), firstLine);
    EXPECT_EQ(Plan(), plan);
    EXPECT_EQ(windows.Text(kMainWindow, control::kPlanBox),
              headless.Text(kMainWindow, control::kPlanBox));
    // No context menu.
    QTest::mouseClick(box->viewport(), Qt::RightButton, {}, QPoint(30, 30));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // Clear and rebuild, with its message.
    test::MessageBoxAnswerer answerer;
    QTest::mouseClick(Widget(control::kClearButton), Qt::LeftButton);
    ASSERT_EQ(answerer.Boxes().size(), 1u);
    EXPECT_EQ(answerer.Boxes()[0].text, "清理成功！计划已经重新获取。");
    EXPECT_EQ(answerer.Boxes()[0].caption, "");
    headless.Click(kMainWindow, control::kClearButton);
    EXPECT_EQ(Plan(), HeadlessPlan());
}

TEST_F(QtProgramTest, AdvertLinkAfterStartUpGoesToTheUrlOpener) {
    StartBoth();
    auto* advert = Widget<QTextBrowser>(control::kAdvertBox);
    const std::string address = windows.BrowserAddress(kMainWindow, control::kAdvertBox);
    ASSERT_EQ(address, server->MainBase() + "/advert.html");
    ASSERT_TRUE(test::WaitFor([&] { return advert->toPlainText().contains("吉林快3"); }));
    advert->setHtml("<p><a href=\"http://elsewhere.example/\">链接</a></p>");
    QTextCursor cursor(advert->document());
    cursor.setPosition(1);
    QTest::mouseClick(advert->viewport(), Qt::LeftButton, {}, advert->cursorRect(cursor).center());
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0].first, "xdg-open");
    EXPECT_EQ(launcher.launches[0].second, std::vector<std::string>{address});
    EXPECT_EQ(windows.BrowserAddress(kMainWindow, control::kAdvertBox), address);
}

TEST_F(QtProgramTest, PictureButtonsMinimiseAndClose) {
    StartBoth();
    QTest::mouseClick(Widget(control::kMinimiseButton), Qt::LeftButton);
    EXPECT_TRUE(main->isMinimized());
    QTimer::singleShot(
        0, main, [this] { QTest::mouseClick(Widget(control::kCloseButton), Qt::LeftButton); });
    EXPECT_EQ(windows.RunMessageLoop(), 0);
    EXPECT_FALSE(windows.WindowExists(kMainWindow));
}

TEST_F(QtProgramTest, ClosingTheLoadingWindowEndsStartUp) {
    // The user closes the loading window as soon as it is on the screen.
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, &closer, [this] {
        QWidget* loading = windows.WindowWidgetOf(kLoadingWindow);
        if (!loading || painted.empty()) return;
        EXPECT_EQ(loading->size(), QSize(300, 184));
        EXPECT_EQ(Shown(test::FindControl(loading, control::kLoadingMessage)), "正在连接服务器……");
        auto* picture = test::FindControl<QLabel>(loading, control::kLoadingPicture);
        EXPECT_FALSE(picture->pixmap().isNull());
        loading->close();
    });
    closer.start();
    program = std::make_unique<Application>(windows, qtClock, launcher, transport,
                                            MakeEnvironment(qtDir));
    int code = -1;
    EXPECT_FALSE(program->Start(code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(painted, std::vector<std::string>{kLoadingWindow});
    EXPECT_FALSE(windows.WindowVisible(kMainWindow));
}

}  // namespace
}  // namespace veltra
