#include "app/terminal_view.h"

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sstream>

#include "app/display_width.h"
#include "app/loading_window.h"
#include "app/main_view.h"
#include "app/main_window_design.h"
#include "base/text_split.h"

namespace veltra {
namespace {

constexpr const char* kTitle = "Veltra吉林快3平刷和值大小";

std::string Period(int serial) {
    return "202612110" + std::string(serial < 10 ? "0" : "") + std::to_string(serial);
}

std::string Numbers(int serial) {
    return std::to_string(serial % 6 + 1) + "," + std::to_string((serial + 2) % 6 + 1) + ",3";
}

// A plan box of forecastLines lines, a blank line, the statistics and the warning.
std::string PlanText(int forecastLines, const std::string& last) {
    std::string text;
    for (int i = 1; i < forecastLines; ++i) {
        text += Period(i).substr(8) + "期 和值大小【大】 <" + Numbers(i) + ">→中\r\n";
    }
    text += last + "\r\n\r\n当前计划统计：总计9期，中8期，挂1期，中奖率为88.89%\r\n";
    return text + "彩票有风险，投注需谨慎！";
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

std::string WithoutEscapes(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\x1b') {
            plain += text[i];
            continue;
        }
        // ESC [ parameters final-letter
        for (i += 2; i < text.size() && !std::isalpha(static_cast<unsigned char>(text[i])); ++i) {
        }
    }
    return plain;
}

class TerminalViewTest : public ::testing::Test {
  protected:
    TerminalViewTest() { windows.CreateWindow(MainWindowDesign()); }

    TerminalView& Open(bool outputIsTerminal, bool inputIsTerminal = false,
                       bool acceptUpdate = false, const std::string& typed = "") {
        view.reset();
        in.clear();
        in.str(typed);
        view = std::make_unique<TerminalView>(windows, out, outputIsTerminal, in, inputIsTerminal,
                                              acceptUpdate);
        view->SetScreenSizeSource([this] { return size; });
        view->Attach();
        return *view;
    }

    // The main window as start-up leaves it, with `draws` history rows.
    void StartUp(int draws = 12, int planLines = 3) {
        main.SetTitle(kTitle);
        windows.ClearListRows(kMainWindow, control::kHistoryList);
        for (int i = 1; i <= draws; ++i) main.AddHistoryRow(Period(i), Numbers(i));
        main.ShowCurrentDraw("当前期号：" + Period(draws), Numbers(draws));
        main.SetDrawTime("04：59");
        windows.SetText(kMainWindow, control::kPlanBox,
                        PlanText(planLines, "013-015期 和值大小【小】 等开"));
        windows.ShowWindow(kMainWindow);
    }

    std::string Take() {
        std::string text = out.str();
        out.str("");
        return text;
    }

    HeadlessWindowSystem windows;
    MainView main{windows};
    std::ostringstream out;
    std::istringstream in;
    TerminalView::ScreenSize size{30, 100};
    std::unique_ptr<TerminalView> view;
};

TEST_F(TerminalViewTest, PlainOutputShowsTheMainWindowOnceItIsShown) {
    Open(false);
    main.SetTitle(kTitle);
    main.SetDrawTime("04：59");
    view->Flush();
    EXPECT_EQ(Take(), "");  // still hidden: start-up is not over

    StartUp();
    view->Flush();
    std::string expected =
        "标题：Veltra吉林快3平刷和值大小\n"
        "当前期号：20261211012 1 3 3\n"
        "开奖剩余时间：04：59\n"
        "计划：\n"
        "001期 和值大小【大】 <2,4,3>→中\n"
        "002期 和值大小【大】 <3,5,3>→中\n"
        "013-015期 和值大小【小】 等开\n"
        "\n"
        "当前计划统计：总计9期，中8期，挂1期，中奖率为88.89%\n"
        "彩票有风险，投注需谨慎！\n";
    // The newest ten draws, oldest first.
    for (int i = 3; i <= 12; ++i) expected += "历史开奖：" + Period(i) + " " + Numbers(i) + "\n";
    EXPECT_EQ(Take(), expected);
}

TEST_F(TerminalViewTest, PlainOutputPrintsOnlyWhatChanged) {
    Open(false);
    StartUp();
    view->Flush();
    Take();

    main.SetDrawTime("04：59");  // written again, unchanged
    view->Flush();
    EXPECT_EQ(Take(), "");

    main.SetDrawTime("04：58");
    view->Flush();
    EXPECT_EQ(Take(), "开奖剩余时间：04：58\n");

    // A new draw: panel, plan and history on one working tick.
    main.SetDrawTime("正在开奖……");
    main.ShowCurrentDraw("当前期号：" + Period(13), "4,5,6");
    windows.SetText(kMainWindow, control::kPlanBox,
                    ReplaceAll(PlanText(3, "013-015期 和值大小【小】 <013期-4,5,6>→挂"),
                               "总计9期，中8期，挂1期，中奖率为88.89%",
                               "总计10期，中8期，挂2期，中奖率为80.00%"));
    main.AddHistoryRow(Period(13), "4,5,6");
    view->Flush();
    EXPECT_EQ(Take(),
              "当前期号：20261211013 4 5 6\n"
              "开奖剩余时间：正在开奖……\n"
              "计划（第 3 行起）：\n"
              "013-015期 和值大小【小】 <013期-4,5,6>→挂\n"
              "\n"
              "当前计划统计：总计10期，中8期，挂2期，中奖率为80.00%\n"
              "彩票有风险，投注需谨慎！\n"
              "历史开奖：20261211013 4,5,6\n");

    // The list rebuilt from scratch: its newest ten rows again.
    windows.ClearListRows(kMainWindow, control::kHistoryList);
    for (int i = 21; i <= 40; ++i) main.AddHistoryRow(Period(i), Numbers(i));
    view->Flush();
    const std::string rebuilt = Take();
    EXPECT_EQ(Count(rebuilt, "历史开奖："), 10);
    EXPECT_EQ(rebuilt.find("历史开奖：" + Period(31)), 0u);
    EXPECT_NE(rebuilt.find("历史开奖：" + Period(40) + " " + Numbers(40) + "\n"),
              std::string::npos);
}

TEST_F(TerminalViewTest, PlainOutputHasNoEscapesAndShowsMessages) {
    Open(false);
    LoadingWindow(windows).Show("正在获取网络数据,请稍后……");
    windows.ShowMessage("初始化失败：连接超时 错误代码：9999", MessageButtons::Ok);
    StartUp();
    LoadingWindow(windows).Close();
    view->Idle();
    const std::string text = Take();
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    // The loading window is printed while start-up blocks, before any loop turn.
    EXPECT_EQ(text.find("正在获取网络数据,请稍后……\n消息：初始化失败：连接超时 错误代码：9999\n"),
              0u);
    EXPECT_NE(text.find("当前期号：20261211012 1 3 3\n"), std::string::npos);
}

// Server texts reach the terminal: their control characters never do, so a period
// number or a message cannot clear the screen, retitle the window or answer back.
TEST_F(TerminalViewTest, ControlCharactersFromTheServerNeverReachTheTerminal) {
    const std::string hostile =
        "\x1b]2;owned\x07\x1b[2J\xc2\x9b"
        "6n\x7f\x05";
    for (const bool terminal : {false, true}) {
        Open(terminal);
        StartUp();
        main.ShowCurrentDraw("当前期号：" + hostile, "1,2,3");
        main.AddHistoryRow(hostile, hostile);
        windows.SetText(kMainWindow, control::kPlanBox, "计划\t" + hostile + "\r\n下一行");
        windows.ShowMessage("错误：" + hostile, MessageButtons::Ok);
        view->Idle();
        const std::string text = Take();
        const std::string shown = terminal ? WithoutEscapes(text) : text;
        // The view's own escapes start with "ESC [" and never clear the whole screen.
        for (const char* control : {"\x1b]", "\x1b[2J", "\x07", "\xc2\x9b", "\x7f", "\x05", "\t"}) {
            EXPECT_EQ(text.find(control), std::string::npos) << terminal << " " << control;
        }
        if (!terminal) {
            EXPECT_EQ(text.find('\x1b'), std::string::npos);
        }
        EXPECT_NE(shown.find("]2;owned[2J6n"), std::string::npos) << terminal;
        EXPECT_NE(shown.find("计划 ]2;owned"), std::string::npos) << terminal;
        EXPECT_NE(shown.find("下一行"), std::string::npos) << terminal;
    }
}

TEST_F(TerminalViewTest, ManyChangesGiveOneDrawPerFlush) {
    for (const bool terminal : {false, true}) {
        Open(terminal);
        StartUp();
        view->Idle();
        Take();
        for (int s = 59; s >= 10; --s) main.SetDrawTime("04：" + std::to_string(s));
        main.AddHistoryRow(Period(13), Numbers(13));
        view->Idle();
        const std::string drawn = Take();
        if (terminal) {
            EXPECT_EQ(Count(drawn, "\x1b[H"), 1);
        } else {
            EXPECT_EQ(drawn, "开奖剩余时间：04：10\n历史开奖：20261211013 2,4,3\n");
        }
        EXPECT_EQ(Count(drawn, "04："), 1) << terminal;

        view->Idle();
        main.SetDrawTime("04：10");  // the countdown writing the same second again
        view->Idle();
        EXPECT_EQ(Take(), "") << terminal;
    }
}

TEST_F(TerminalViewTest, TerminalScreenFitsAndKeepsTheNewestLines) {
    struct Case {
        TerminalView::ScreenSize size;
        bool sideBySide;
    } cases[] = {{{30, 100}, true}, {{24, 80}, true}, {{24, 50}, false}};
    for (const Case& c : cases) {
        size = c.size;
        Open(true);
        StartUp(12, 40);
        view->Flush();
        const std::string drawn = Take();
        SCOPED_TRACE(std::to_string(c.size.rows) + "x" + std::to_string(c.size.columns));

        EXPECT_EQ(drawn.rfind("\x1b[?7l\x1b[H", 0), 0u);
        EXPECT_TRUE(drawn.ends_with("\x1b[J\x1b[?7h"));
        EXPECT_NE(drawn.find("\x1b[1mVeltra吉林快3平刷和值大小\x1b[0m"), std::string::npos);
        EXPECT_NE(drawn.find("当前期号：20261211012   \x1b[1m1 3 3\x1b[0m"), std::string::npos);
        EXPECT_NE(drawn.find("开奖剩余时间：04：59"), std::string::npos);
        // The plan box's end (statistics, warning) and the newest draw are in view.
        EXPECT_NE(drawn.find("彩票有风险，投注需谨慎！"), std::string::npos);
        EXPECT_NE(drawn.find("当前计划统计：总计9期"), std::string::npos);
        EXPECT_EQ(drawn.find("001期 和值大小"), std::string::npos);
        EXPECT_NE(drawn.find(Period(12) + "  " + Numbers(12)), std::string::npos);
        EXPECT_EQ(drawn.find(Period(2)), std::string::npos);

        const std::string plain = WithoutEscapes(drawn);
        EXPECT_LE(Count(plain, "\n"), c.size.rows - 1);  // a redraw never scrolls
        int barColumn = -1;
        std::istringstream lines(plain);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(DisplayWidth(line), c.size.columns) << line;
            const size_t bar = line.find("│");
            if (bar == std::string::npos) continue;
            const int column = DisplayWidth(line.substr(0, bar));
            if (barColumn < 0) barColumn = column;
            EXPECT_EQ(column, barColumn) << line;  // the history column lines up
        }
        EXPECT_EQ(barColumn >= 0, c.sideBySide);
    }
}

TEST_F(TerminalViewTest, MessageBoxesAreAnsweredFromTheTerminalOrDeclined) {
    struct Case {
        MessageButtons buttons;
        bool inputIsTerminal;
        bool acceptUpdate;
        const char* typed;
        MessageResult answer;
        const char* printed;
    } cases[] = {
        {MessageButtons::Ok, false, false, "", MessageResult::Ok, ""},
        {MessageButtons::OkCancel, false, false, "y\n", MessageResult::Cancel,
         "确定/取消：取消（标准输入不是终端）\n"},
        {MessageButtons::OkCancel, false, true, "", MessageResult::Ok,
         "确定/取消：确定（自动接受）\n"},
        {MessageButtons::OkCancel, true, true, "n\n", MessageResult::Ok,
         "确定/取消：确定（自动接受）\n"},
        {MessageButtons::OkCancel, true, false, "y\n", MessageResult::Ok,
         "确定/取消？[y/N] 确定/取消：确定\n"},
        {MessageButtons::OkCancel, true, false, " YES \n", MessageResult::Ok,
         "确定/取消？[y/N] 确定/取消：确定\n"},
        {MessageButtons::OkCancel, true, false, "确定\n", MessageResult::Ok,
         "确定/取消？[y/N] 确定/取消：确定\n"},
        {MessageButtons::OkCancel, true, false, "ok", MessageResult::Ok,
         "确定/取消？[y/N] 确定/取消：确定\n"},
        {MessageButtons::OkCancel, true, false, "n\n", MessageResult::Cancel,
         "确定/取消？[y/N] 确定/取消：取消\n"},
        {MessageButtons::OkCancel, true, false, "\n", MessageResult::Cancel,
         "确定/取消？[y/N] 确定/取消：取消\n"},
        {MessageButtons::OkCancel, true, false, "", MessageResult::Cancel,
         "确定/取消？[y/N] 确定/取消：取消\n"},
    };
    for (const Case& c : cases) {
        Open(false, c.inputIsTerminal, c.acceptUpdate, c.typed);
        Take();
        EXPECT_EQ(windows.ShowMessage("发现新版本1.5\r\n是否更新？", c.buttons), c.answer)
            << c.typed;
        EXPECT_EQ(Take(), std::string("消息：发现新版本1.5\n是否更新？\n") + c.printed) << c.typed;
    }

    // On a terminal the box stays at the screen's foot with its answer.
    Open(true, false, false);
    EXPECT_EQ(windows.ShowMessage("发现新版本1.5", MessageButtons::OkCancel),
              MessageResult::Cancel);
    EXPECT_NE(Take().find("消息：发现新版本1.5  确定/取消：取消（标准输入不是终端）"),
              std::string::npos);
}

// Ends the loop with exit code 1 if the view never does, so a fault fails instead
// of hanging.
class QuitOnTimer : public WindowEvents {
  public:
    explicit QuitOnTimer(WindowSystem& windows) : windows(windows) {}
    void OnTimer(std::string_view, std::string_view) override { windows.QuitMessageLoop(1); }
    WindowSystem& windows;
};

TEST_F(TerminalViewTest, SignalEndsTheMessageLoopCleanly) {
    for (const int sig : {SIGINT, SIGTERM}) {
        HeadlessWindowSystem loop;
        loop.CreateWindow(MainWindowDesign());
        QuitOnTimer guard(loop);
        loop.SetEventHandler(&guard);
        loop.SetTimerPeriod(kMainWindow, control::kCountdownTimer, 1000);
        TerminalView terminal(loop, out, false, in, false, false);
        terminal.Attach();
        ASSERT_TRUE(TerminalView::InstallSignalHandlers());

        terminal.Idle();
        EXPECT_FALSE(loop.QuitRequested());
        std::raise(sig);
        EXPECT_EQ(loop.RunMessageLoop(), 0) << sig;
        // The handler is gone: a second signal would end a stuck program at once.
        struct sigaction now {};
        sigaction(sig, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
        TerminalView::RestoreSignalHandlers();
    }
}

}  // namespace
}  // namespace veltra
