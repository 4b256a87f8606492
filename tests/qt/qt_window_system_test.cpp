// The desktop window system on its own: a small window of every kind of control,
// driven through real widget events, with a recording event handler.
#include "platform/qt/qt_window_system.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>

#include "app/process_exit.h"
#include "platform/qt/balloon_tip.h"
#include "platform/qt/page_view.h"
#include "platform/qt/spin_edit.h"
#include "tests/qt/qt_test_environment.h"

namespace veltra {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(
    new test::QtTestEnvironment(test::QtTestEnvironment::Platform::Offscreen));

constexpr const char* kWindow = "测试窗口";

struct Recorder : WindowEvents {
    void OnClick(std::string_view, std::string_view control) override {
        calls.push_back("click " + std::string(control));
        if (onClick) onClick(control);
    }
    void OnSliderMoved(std::string_view, std::string_view control) override {
        calls.push_back("slider " + std::string(control));
    }
    void OnFocusLost(std::string_view, std::string_view control) override {
        calls.push_back("focus-lost " + std::string(control));
    }
    int OnCharacter(std::string_view, std::string_view, int code) override {
        characters.push_back(code);
        return characterAnswer(code);
    }
    bool OnRightButtonUp(std::string_view, std::string_view) override {
        calls.push_back("right-up");
        return consumeRightButton;
    }
    bool OnBeforeNavigate(std::string_view, std::string_view, std::string_view url) override {
        navigations.emplace_back(url);
        return cancelNavigation;
    }
    void OnTimer(std::string_view, std::string_view) override {
        ++ticks;
        if (onTimer) onTimer();
    }
    void OnCloseRequest(std::string_view window) override {
        calls.push_back("close " + std::string(window));
        if (onClose) onClose();
    }

    std::vector<std::string> calls;
    std::vector<int> characters;
    std::function<int(int)> characterAnswer = [](int) { return 0; };
    bool consumeRightButton = true;
    std::vector<std::string> navigations;
    bool cancelNavigation = false;
    int ticks = 0;
    std::function<void()> onTimer;
    std::function<void()> onClose;
    std::function<void(std::string_view)> onClick;
};

WindowDesign TestWindow() {
    using K = ControlKind;
    WindowDesign w;
    w.name = kWindow;
    w.caption = "标题";
    w.geometry = {30, 40, 400, 300};
    w.background = "background";
    w.systemFrame = false;
    auto& c = w.controls;
    c.push_back(MakeControl("标题栏", K::TransparentLabel, {0, 0, 300, 20}, "可拖动的标题"));
    c.back().look = ControlLook::WindowTitle;
    c.push_back(MakeControl("标签", K::Label, {10, 30, 80, 20}, "普通标签"));
    c.push_back(MakeControl("透明标签", K::TransparentLabel, {100, 30, 80, 20}, "透明"));
    c.push_back(MakeControl("面板", K::Panel, {90, 25, 40, 30}));  // covers part of both labels
    c.push_back(MakeControl("面板按钮", K::Button, {2, 2, 30, 20}, "按", "面板"));
    c.push_back(MakeControl("隐藏面板", K::Panel, {200, 60, 100, 40}));
    c.back().visible = false;
    c.push_back(MakeControl("计划框", K::PlanEditBox, {10, 60, 180, 80}));
    c.push_back(MakeControl("组合框", K::ComboBox, {200, 110, 60, 22}));
    c.back().items = {"1", "2", "3"};
    c.push_back(MakeControl("滑块", K::Slider, {10, 150, 150, 16}));
    c.push_back(MakeControl("注数", K::SpinEditBox, {170, 148, 60, 22}, "25"));
    c.push_back(MakeControl("列表", K::ListView, {240, 140, 150, 100}));
    c.back().columns = {{"期号", 90}, {"号码", 50}};
    c.back().rows = {{"样例", "0,0,0"}};
    c.push_back(MakeControl("时钟", K::Timer, {0, 0, 0, 0}));
    c.push_back(MakeControl("浏览框", K::Browser, {10, 180, 220, 110}));
    c.push_back(MakeControl("提示", K::BalloonTip, {5, 5, 80, 24}));
    c.back().visible = false;
    c.push_back(MakeControl("关闭", K::PictureButton, {372, 0, 28, 33}));
    c.back().picture = "button-close";
    return w;
}

class QtWindowSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        windows.SetEventHandler(&events);
        ASSERT_TRUE(windows.CreateWindow(TestWindow()));
        window = windows.WindowWidgetOf(kWindow);
        ASSERT_NE(window, nullptr);
    }
    void Show() {
        windows.ShowWindow(kWindow);
        ASSERT_TRUE(window->isVisible());
    }
    template <typename T = QWidget>
    T* Widget(const char* name) {
        return test::FindControl<T>(window, name);
    }
    std::string Text(const char* name) const { return windows.Text(kWindow, name); }

    QtWindowSystem windows;
    Recorder events;
    QWidget* window = nullptr;
};

TEST_F(QtWindowSystemTest, BuildsEveryControlAsANamedWidgetInDescriptionOrder) {
    const WindowDesign design = TestWindow();
    EXPECT_FALSE(windows.CreateWindow(design));  // one window of a name
    EXPECT_EQ(window->objectName().toStdString(), kWindow);
    EXPECT_EQ(window->windowTitle().toStdString(), "标题");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window->geometry(), QRect(30, 40, 400, 300));
    EXPECT_FALSE(window->isVisible());  // built hidden

    for (const ControlDesign& c : design.controls) {
        SCOPED_TRACE(c.name);
        if (c.kind == ControlKind::Timer) {
            EXPECT_NE(test::FindControl<QTimer>(window, c.name.c_str()), nullptr);
            continue;
        }
        QWidget* widget = Widget(c.name.c_str());
        ASSERT_NE(widget, nullptr);
        if (c.kind == ControlKind::BalloonTip) continue;  // a window of its own, placed when shown
        const QWidget* parent = c.parent.empty() ? window : Widget(c.parent.c_str());
        EXPECT_EQ(widget->parentWidget(), parent);
        EXPECT_EQ(widget->geometry(),
                  QRect(c.geometry.x, c.geometry.y, c.geometry.width, c.geometry.height));
        EXPECT_EQ(widget->isHidden(), !c.visible);
        EXPECT_EQ(windows.Geometry(kWindow, c.name), c.geometry);
        EXPECT_EQ(windows.Visible(kWindow, c.name), c.visible);
    }
    EXPECT_EQ(Widget<QLabel>("标签")->text(), "普通标签");
    EXPECT_TRUE(Widget("标签")->autoFillBackground());
    EXPECT_FALSE(Widget("透明标签")->autoFillBackground());
    EXPECT_EQ(Widget<QPushButton>("面板按钮")->text(), "按");
    EXPECT_EQ(Text("注数"), "25");
    EXPECT_EQ(Text("组合框"), "1");
    EXPECT_EQ(windows.ComboSelection(kWindow, "组合框"), 0);

    auto* list = Widget<QTreeWidget>("列表");
    ASSERT_EQ(list->columnCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), "期号");
    EXPECT_EQ(list->columnWidth(0), 90);
    EXPECT_EQ(list->columnWidth(1), 50);
    EXPECT_EQ(windows.ListRowCount(kWindow, "列表"), 1);
    EXPECT_EQ(windows.ListCell(kWindow, "列表", 0, 1), "0,0,0");

    // A later control lies on top: the panel covers the labels where they overlap.
    Show();
    EXPECT_EQ(window->childAt(125, 40), Widget("面板"));
    EXPECT_EQ(window->childAt(20, 35), Widget("标签"));
    // Nothing of a missing window or control: empty reads, no effect.
    EXPECT_EQ(windows.Text("无此窗口", "标签"), "");
    EXPECT_EQ(windows.Text(kWindow, "无此控件"), "");
    windows.SetText(kWindow, "无此控件", "x");
    EXPECT_EQ(windows.Geometry(kWindow, "无此控件"), Rect{});
}

TEST_F(QtWindowSystemTest, PropertiesWrittenByTheProgram) {
    windows.SetText(kWindow, "标签", "第一行\r\n第二行");
    EXPECT_EQ(Text("标签"), "第一行\r\n第二行");                  // as written
    EXPECT_EQ(Widget<QLabel>("标签")->text(), "第一行\n第二行");  // as shown
    windows.SetGeometry(kWindow, "计划框", {12, 70, 170, 60});
    EXPECT_EQ(Widget("计划框")->geometry(), QRect(12, 70, 170, 60));
    windows.SetVisible(kWindow, "隐藏面板", true);
    EXPECT_FALSE(Widget("隐藏面板")->isHidden());
    windows.SetWindowCaption(kWindow, "新标题");
    EXPECT_EQ(windows.WindowCaption(kWindow), "新标题");

    windows.SetComboSelection(kWindow, "组合框", 2);
    EXPECT_EQ(Text("组合框"), "3");
    windows.SetComboSelection(kWindow, "组合框", 3);  // no such item: no selection
    EXPECT_EQ(windows.ComboSelection(kWindow, "组合框"), -1);
    EXPECT_EQ(Text("组合框"), "");

    windows.InsertListRow(kWindow, "列表", 0, {"p1", "1,2,3"});
    windows.InsertListRow(kWindow, "列表", 0, {"p2", "4,5,6"});
    windows.InsertListRow(kWindow, "列表", 99, {"p0", "6,6,6"});  // past the end: appended
    EXPECT_EQ(windows.ListCell(kWindow, "列表", 0, 0), "p2");
    EXPECT_EQ(windows.ListCell(kWindow, "列表", 1, 0), "p1");
    EXPECT_EQ(windows.ListCell(kWindow, "列表", 3, 0), "p0");
    EXPECT_EQ(windows.ListCell(kWindow, "列表", 4, 0), "");
    windows.ClearListRows(kWindow, "列表");
    EXPECT_EQ(windows.ListRowCount(kWindow, "列表"), 0);

    windows.SetClipboardText("a\r\nb");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "a\nb");  // the desktop's line ends
}

TEST_F(QtWindowSystemTest, SliderAndSpinBoxReportTheirChanges) {
    Show();
    windows.SetSliderRange(kWindow, "滑块", 5, 10);  // clamps 0 to 5 without a report
    EXPECT_EQ(windows.SliderPosition(kWindow, "滑块"), 5);
    EXPECT_TRUE(events.calls.empty());
    windows.SetSliderPosition(kWindow, "滑块", 12);
    EXPECT_EQ(windows.SliderPosition(kWindow, "滑块"), 10);
    windows.SetSliderPosition(kWindow, "滑块", 10);  // unchanged: no report
    EXPECT_EQ(events.calls, std::vector<std::string>{"slider 滑块"});
    QTest::keyClick(Widget("滑块"), Qt::Key_Left);  // the user moves it
    EXPECT_EQ(windows.SliderPosition(kWindow, "滑块"), 9);
    EXPECT_EQ(events.calls.size(), 2u);

    // The bet box takes any text; its arrows step within the spin range.
    windows.SetSpinRange(kWindow, "注数", 5, 10);
    auto* spin = Widget<SpinEdit>("注数");
    windows.SetText(kWindow, "注数", "9");
    spin->stepBy(1);
    EXPECT_EQ(Text("注数"), "10");
    spin->stepBy(1);
    EXPECT_EQ(Text("注数"), "10");
    windows.SetText(kWindow, "注数", "abc");
    EXPECT_EQ(Text("注数"), "abc");
    events.calls.clear();
    spin->setFocus();
    ASSERT_TRUE(test::WaitFor([&] { return spin->hasFocus(); }));
    Widget("面板按钮")->setFocus();
    ASSERT_TRUE(test::WaitFor([&] { return !events.calls.empty(); }));
    EXPECT_EQ(events.calls, std::vector<std::string>{"focus-lost 注数"});
    EXPECT_EQ(Text("注数"), "abc");  // not corrected on the way out
}

TEST_F(QtWindowSystemTest, PlanBoxTakesNoTypingAndCopiesOnTheProgramsWord) {
    Show();
    const std::string plan = "001期 第一行\r\n002期 第二行\r\n003期 第三行";
    windows.SetText(kWindow, "计划框", plan);
    auto* box = Widget<QPlainTextEdit>("计划框");
    box->setFocus();
    // The program answers Ctrl+C and Ctrl+X with a copy, everything else with nothing.
    events.characterAnswer = [](int code) { return code == 3 || code == 24 ? 3 : 0; };

    QTest::keyClicks(box, "ab");
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClick(box, Qt::Key_Return);
    QGuiApplication::clipboard()->setText("粘贴的");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(box->toPlainText().toStdString(), "001期 第一行\n002期 第二行\n003期 第三行");
    EXPECT_EQ(Text("计划框"), plan);
    EXPECT_EQ(events.characters, (std::vector<int>{'a', 'b', 8, 13, 22}));  // Delete types nothing

    // Select the first line with the keyboard, then Ctrl+X: copied, nothing removed.
    QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "001期 第一行");
    EXPECT_EQ(Text("计划框"), plan);
    QTest::keyClick(box, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "001期 第一行\n002期 第二行");
    EXPECT_EQ(events.characters.back(), 3);

    // The right button: consumed by the program, no menu; left to the box, its menu.
    QTest::mouseClick(box->viewport(), Qt::RightButton, {}, QPoint(20, 10));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    events.consumeRightButton = false;
    QTest::mouseClick(box->viewport(), Qt::RightButton, {}, QPoint(20, 10));
    ASSERT_TRUE(
        test::WaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }));
    QApplication::activePopupWidget()->close();
    EXPECT_EQ(std::count(events.calls.begin(), events.calls.end(), "right-up"), 2);
}

TEST_F(QtWindowSystemTest, CaretAtTheEndKeepsTheNewestLinesInView) {
    std::string plan;
    for (int i = 1; i <= 60; ++i) plan += std::to_string(i) + "期 和值大小【大】\r\n";
    plan += "最后一行";
    // Written while the window is still hidden, as at start-up.
    windows.SetText(kWindow, "计划框", plan);
    windows.SetSelectionStart(kWindow, "计划框", -1);
    Show();
    auto* box = Widget<QPlainTextEdit>("计划框");
    EXPECT_EQ(box->textCursor().position(), box->document()->characterCount() - 1);
    ASSERT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
    // A refresh on the shown box does the same.
    windows.SetText(kWindow, "计划框", plan + "\r\n又一行");
    EXPECT_EQ(box->verticalScrollBar()->value(), 0);
    windows.SetSelectionStart(kWindow, "计划框", -1);
    EXPECT_EQ(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
}

TEST_F(QtWindowSystemTest, TimersTickAtTheirPeriodAndStopAtZero) {
    auto* timer = test::FindControl<QTimer>(window, "时钟");
    EXPECT_FALSE(timer->isActive());
    windows.SetTimerPeriod(kWindow, "时钟", 10);
    EXPECT_EQ(windows.TimerPeriod(kWindow, "时钟"), 10);
    EXPECT_EQ(timer->interval(), 10);
    ASSERT_TRUE(test::WaitFor([&] { return events.ticks >= 3; }));
    windows.SetTimerPeriod(kWindow, "时钟", 0);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(windows.TimerPeriod(kWindow, "时钟"), 0);
}

TEST_F(QtWindowSystemTest, ClicksCloseRequestsAndDestroyingFromInsideAHandler) {
    Show();
    events.onClick = [&](std::string_view control) {
        if (control == "关闭") windows.DestroyWindow(kWindow);  // inside the button's own signal
    };
    QTest::mouseClick(Widget("面板按钮"), Qt::LeftButton);
    EXPECT_EQ(events.calls.back(), "click 面板按钮");

    window->close();  // the user asks; the program decides, and here it does nothing
    EXPECT_EQ(events.calls.back(), "close " + std::string(kWindow));
    EXPECT_TRUE(window->isVisible());

    QPointer<QWidget> gone = window;
    QTest::mouseClick(Widget("关闭"), Qt::LeftButton);
    EXPECT_FALSE(windows.WindowExists(kWindow));
    EXPECT_FALSE(gone->isVisible());
    ASSERT_TRUE(test::WaitFor([&] { return gone.isNull(); }));
}

TEST_F(QtWindowSystemTest, DraggingTheTitleMovesTheWindow) {
    Show();
    QWidget* title = Widget("标题栏");
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(title, QPoint(60, 40));
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(window->pos(), QPoint(80, 70));
    EXPECT_EQ(windows.WindowGeometry(kWindow), (Rect{80, 70, 400, 300}));
}

TEST_F(QtWindowSystemTest, BalloonTipPointsAtItsPointAndGoesAway) {
    Show();
    windows.ShowBalloonTip(kWindow, "提示", "已复制到剪辑版", 200, 150);
    auto* tip = Widget<BalloonTip>("提示");
    ASSERT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->Text(), "已复制到剪辑版");
    EXPECT_EQ(tip->StemTip(), QPoint(200, 150));
    EXPECT_TRUE(windows.Visible(kWindow, "提示"));
    EXPECT_TRUE(test::WaitFor([&] { return !tip->isVisible(); }, BalloonTip::kShownMs + 5000));
}

TEST_F(QtWindowSystemTest, MessageBoxesAreModalWithoutCaption) {
    Show();
    {
        test::MessageBoxAnswerer ok("确定");
        EXPECT_EQ(windows.ShowMessage("第一句\r\n第二句", MessageButtons::Ok), MessageResult::Ok);
        ASSERT_EQ(ok.Boxes().size(), 1u);
        EXPECT_EQ(ok.Boxes()[0].text, "第一句\n第二句");
        EXPECT_EQ(ok.Boxes()[0].caption, "");
        EXPECT_EQ(ok.Boxes()[0].buttons, std::vector<std::string>{"确定"});
    }
    for (const char* answer : {"确定", "取消"}) {
        test::MessageBoxAnswerer answerer(answer);
        const MessageResult result = windows.ShowMessage("更新？", MessageButtons::OkCancel);
        EXPECT_EQ(result,
                  answer == std::string("确定") ? MessageResult::Ok : MessageResult::Cancel);
        ASSERT_EQ(answerer.Boxes().size(), 1u);
        EXPECT_EQ(answerer.Boxes()[0].buttons, (std::vector<std::string>{"确定", "取消"}));
    }
}

// A handler that ends the program (throws) never unwinds through Qt: the exception
// comes out of the call of ours that let the handler run, and the message loop ends.
TEST_F(QtWindowSystemTest, AHandlerEndingTheProgramLeavesEveryLoop) {
    events.onTimer = [] { EndProcess(7); };
    windows.SetTimerPeriod(kWindow, "时钟", 1);
    try {
        windows.RunMessageLoop();
        ADD_FAILURE() << "the loop ended normally";
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.code, 7);
    }
    EXPECT_EQ(events.ticks, 1);  // nothing ran after the end

    // From inside ProcessPendingEvents, also when a message box is open.
    events.ticks = 0;
    windows.SetTimerPeriod(kWindow, "时钟", 0);
    events.onClose = [] { EndProcess(3); };
    QTimer::singleShot(0, window, [this] { window->close(); });
    EXPECT_THROW(windows.ShowMessage("等待", MessageButtons::Ok), ProcessExit);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    QTimer::singleShot(0, window, [this] { window->close(); });
    EXPECT_TRUE(test::WaitFor([&] {
        try {
            windows.ProcessPendingEvents();
            return false;
        } catch (const ProcessExit& exit) {
            return exit.code == 3;
        }
    }));
}

TEST_F(QtWindowSystemTest, QuitEndsTheMessageLoopWithItsCode) {
    events.onTimer = [this] { windows.QuitMessageLoop(4); };
    windows.SetTimerPeriod(kWindow, "时钟", 1);
    EXPECT_EQ(windows.RunMessageLoop(), 4);
}

// A tiny web server for the advert box: a page with a link and a picture.
class PageServer {
  public:
    PageServer() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [this, socket] { Answer(socket); });
            }
        });
        QImage dot(4, 4, QImage::Format_RGB32);
        dot.fill(Qt::red);
        QBuffer buffer(&picture);
        buffer.open(QIODevice::WriteOnly);
        dot.save(&buffer, "PNG");
    }
    QString Url(const char* path) const {
        return QString("http://127.0.0.1:%1%2").arg(server.serverPort()).arg(path);
    }
    QMap<QString, int> requests;

  private:
    void Answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        const QString path = QString::fromLatin1(request.split(' ').value(1));
        ++requests[path];
        QByteArray type = "text/html; charset=utf-8", body;
        if (path == "/") {
            body =
                "<html><body><p>广告页</p><p><a href=\"/next\">下一页</a></p>"
                "<img src=\"/dot.png\" width=\"4\" height=\"4\"></body></html>";
        } else if (path == "/dot.png") {
            type = "image/png";
            body = picture;
        } else {
            body = "<html><body><p>另一页</p></body></html>";
        }
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
    QTcpServer server;
    QByteArray picture;
};

// The position of the first link in a browser box, in its viewport.
QPoint FirstLink(QTextBrowser* page) {
    for (QTextBlock block = page->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (!it.fragment().charFormat().isAnchor()) continue;
            QTextCursor cursor(page->document());
            cursor.setPosition(it.fragment().position() + 1);
            return page->cursorRect(cursor).center();
        }
    }
    return {};
}

TEST_F(QtWindowSystemTest, BrowserLoadsPagesWithPicturesAndAsksBeforeFollowingLinks) {
    Show();
    PageServer server;
    auto* page = Widget<PageView>("浏览框");
    events.cancelNavigation = true;  // the program may refuse even its own address
    windows.SetBrowserAddress(kWindow, "浏览框", server.Url("/").toStdString());
    EXPECT_EQ(windows.BrowserAddress(kWindow, "浏览框"), "");
    EXPECT_EQ(events.navigations.size(), 1u);

    events.cancelNavigation = false;
    windows.SetBrowserAddress(kWindow, "浏览框", server.Url("/").toStdString());
    EXPECT_EQ(windows.BrowserAddress(kWindow, "浏览框"), server.Url("/").toStdString());
    const auto picture = [&] {
        return page->document()
            ->resource(QTextDocument::ImageResource, QUrl(server.Url("/dot.png")))
            .value<QImage>();
    };
    ASSERT_TRUE(test::WaitFor(
        [&] { return page->toPlainText().contains("广告页") && !picture().isNull(); }));
    EXPECT_EQ(picture().size(), QSize(4, 4));
    EXPECT_EQ(server.requests.value("/dot.png"), 1);

    // A click on the link asks first; refused, the box stays where it is.
    events.cancelNavigation = true;
    QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, FirstLink(page));
    ASSERT_EQ(events.navigations.size(), 3u);
    EXPECT_EQ(events.navigations.back(), server.Url("/next").toStdString());
    EXPECT_EQ(windows.BrowserAddress(kWindow, "浏览框"), server.Url("/").toStdString());
    EXPECT_EQ(server.requests.value("/next"), 0);
    // Allowed, it goes there.
    events.cancelNavigation = false;
    QTest::mouseClick(page->viewport(), Qt::LeftButton, {}, FirstLink(page));
    EXPECT_EQ(windows.BrowserAddress(kWindow, "浏览框"), server.Url("/next").toStdString());
    ASSERT_TRUE(test::WaitFor([&] { return page->toPlainText().contains("另一页"); }));

    // A page that cannot be fetched leaves the box empty, and nothing hangs.
    windows.SetBrowserAddress(kWindow, "浏览框", "http://127.0.0.1:9/");
    EXPECT_TRUE(page->toPlainText().isEmpty());
    EXPECT_TRUE(test::WaitFor([&] { return !page->Loading(); }));
    EXPECT_TRUE(page->toPlainText().isEmpty());
}

}  // namespace
}  // namespace veltra
