// The program's main window on a real X server (a private Xvfb): after start-up a
// screenshot of it is taken from the screen and kept as an artifact of the build
// (artifacts/main-window.png) for people to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QSet>
#include <QWindow>

#include "app/application.h"
#include "app/main_window_design.h"
#include "platform/qt/qt_window_system.h"
#include "tests/qt/qt_test_environment.h"
#include "tests/support/app_server_process.h"
#include "tests/support/manual_clock.h"
#include "tests/support/scoped_time_zone.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(
    new test::QtTestEnvironment(test::QtTestEnvironment::Platform::Xvfb));

constexpr int64_t k1005 = 1796954700;

struct NoLaunch : ProcessLauncher {
    bool Launch(const std::string&, const std::vector<std::string>&) override { return true; }
};

int Colours(const QImage& image, const QRect& area) {
    QSet<QRgb> seen;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) seen.insert(image.pixel(x, y));
    }
    return static_cast<int>(seen.size());
}

TEST(MainWindowScreenshot, AfterStartUp) {
    test::ScopedTimeZone zone{"CST-8"};
    test::AppServerProcess server({"--now", std::to_string(k1005), "--secret", "screenshot"});
    ASSERT_TRUE(server.Running()) << server.Error();
    test::TempDir dir;
    test::ManualClock clock;
    clock.now = k1005;
    NoLaunch launcher;
    const HttpTransport transport;
    QtWindowSystem windows;
    Application program(
        windows, clock, launcher, transport,
        {dir.Path(), dir.Path(), server.MainUrl(), server.FallbackUrl(), nullptr, std::nullopt});
    int code = -1;
    ASSERT_TRUE(program.Start(code));
    QWidget* main = windows.WindowWidgetOf(kMainWindow);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(
        test::WaitFor([&] { return main->windowHandle() && main->windowHandle()->isExposed(); }));

    // The Chinese text has a font that holds it.
    auto* title = test::FindControl<QLabel>(main, control::kTitle);
    EXPECT_EQ(QFontInfo(title->font()).family(), "WenQuanYi Zen Hei");
    EXPECT_TRUE(QFontMetrics(title->font()).inFont(QChar(0x5409)));  // 吉

    // Taken from the screen once the advert and the first countdown text are drawn.
    auto* advert = test::FindControl<QWidget>(main, control::kAdvertBox);
    QImage shot;
    ASSERT_TRUE(test::WaitFor([&] {
        if (windows.Text(kMainWindow, control::kDrawTime) != "05：00") return false;
        shot = main->screen()->grabWindow(main->winId()).toImage();
        // The advert box has text on it once its page is in.
        return Colours(shot, advert->geometry()) > 8;
    }));
    const QString folder = VELTRA_ARTIFACT_DIR;
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(shot.save(folder + "/main-window.png"));

    EXPECT_EQ(shot.size(), QSize(1000, 667));
    EXPECT_GT(Colours(shot, shot.rect()), 200);
    // The title band is the artwork's crimson and carries the title's white text.
    const QColor band = shot.pixelColor(500, 2);
    EXPECT_GT(band.red(), 100);
    EXPECT_LT(band.green(), 60);
    EXPECT_GT(Colours(shot, title->geometry()), 10);
    // The plan box shows its lines.
    EXPECT_GT(Colours(shot, test::FindControl<QWidget>(main, control::kPlanBox)->geometry()), 10);
}

}  // namespace
}  // namespace veltra
