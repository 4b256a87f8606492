// The terminal view of the headless window system.
#include "app/terminal_view.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <istream>
#include <ostream>

#include "app/display_width.h"
#include "app/main_window_design.h"
#include "base/text_split.h"

namespace veltra {
namespace {

constexpr size_t kHistoryRows = 10;
// Below this many columns for the plan, the history goes above the plan instead of
// beside it.
constexpr int kMinPlanColumns = 30;

constexpr const char* kBold = "\x1b[1m";
constexpr const char* kDim = "\x1b[2m";
constexpr const char* kPlain = "\x1b[0m";

volatile std::sig_atomic_t signalled = 0;
bool handlersInstalled = false;
struct sigaction previousInterrupt;
struct sigaction previousTerminate;

void OnSignal(int) {
    signalled = 1;
}

// Texts from the server (periods, numbers, messages) reach the terminal: control
// characters, escape sequences among them, are dropped so that no text can move the
// cursor, retitle the window or answer back; a tab becomes a blank.
std::string Printable(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\t') {
            kept += ' ';
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            ++i;  // U+0080..U+009F, the C1 controls
        } else if (c >= 0x20 && c != 0x7F) {
            kept += text[i];
        } else if (c == '\n') {
            kept += '\n';
        }
    }
    return kept;
}

// The edit box keeps CR LF; the terminal wants LF.
std::string LineFeeds(std::string_view text) {
    return Printable(ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n"));
}

std::string OneLine(std::string_view text) {
    std::string line = LineFeeds(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

std::string Pad(std::string_view text, int columns) {
    std::string padded(CutToWidth(text, columns));
    padded.append(static_cast<size_t>(std::max(0, columns - DisplayWidth(padded))), ' ');
    return padded;
}

TerminalView::ScreenSize StandardOutputSize() {
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_row == 0 || size.ws_col == 0) {
        return {};
    }
    return {size.ws_row, size.ws_col};
}

// y, yes, ok or 确定, in any letter case and with blanks around it.
bool Accepts(std::string_view answer) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const size_t first = answer.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return false;
    std::string word(answer.substr(first, answer.find_last_not_of(kBlanks) - first + 1));
    for (char& c : word) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return word == "y" || word == "yes" || word == "ok" || word == "确定";
}

}  // namespace

TerminalView::TerminalView(HeadlessWindowSystem& windows, std::ostream& output,
                           bool outputIsTerminal, std::istream& input, bool inputIsTerminal,
                           bool acceptUpdate)
    : windows(windows),
      output(output),
      input(input),
      outputIsTerminal(outputIsTerminal),
      inputIsTerminal(inputIsTerminal),
      acceptUpdate(acceptUpdate),
      screenSize(StandardOutputSize) {}

TerminalView::~TerminalView() {
    Detach();
}

void TerminalView::Attach() {
    windows.SetChangeListener([this] { MarkChanged(); });
    windows.SetMessageResponder(
        [this](const std::string& text, MessageButtons buttons) { return Answer(text, buttons); });
    windows.SetIdleHook([this] { Idle(); });
    // Before the message loop runs, start-up blocks on the network and the windows
    // are only repainted where it processes pending events (the loading window).
    // Once the loop runs, its turns draw.
    windows.SetPendingEventHook([this] {
        if (!loopRunning) Flush();
    });
    attached = true;
    dirty = true;
}

void TerminalView::Detach() {
    if (!attached) return;
    windows.SetChangeListener(nullptr);
    windows.SetMessageResponder(nullptr);
    windows.SetIdleHook(nullptr);
    windows.SetPendingEventHook(nullptr);
    attached = false;
}

bool TerminalView::InstallSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a prompt waiting for input gives up at once. SA_RESETHAND: the
    // second signal takes the default action.
    action.sa_flags = SA_RESETHAND;
    signalled = 0;
    if (sigaction(SIGINT, &action, &previousInterrupt) != 0) return false;
    if (sigaction(SIGTERM, &action, &previousTerminate) != 0) {
        sigaction(SIGINT, &previousInterrupt, nullptr);
        return false;
    }
    handlersInstalled = true;
    return true;
}

void TerminalView::RestoreSignalHandlers() {
    if (!handlersInstalled) return;
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    handlersInstalled = false;
    signalled = 0;
}

void TerminalView::Idle() {
    loopRunning = true;
    Flush();
    if (signalled) windows.QuitMessageLoop(0);
}

TerminalView::Shown TerminalView::Read() const {
    Shown s;
    if (windows.WindowExists(kLoadingWindow)) {
        s.loading = OneLine(windows.Text(kLoadingWindow, control::kLoadingMessage));
    }
    if (!windows.WindowVisible(kMainWindow)) return s;
    s.main = true;
    s.title = OneLine(windows.WindowCaption(kMainWindow));
    if (s.title.empty()) s.title = OneLine(windows.Text(kMainWindow, control::kTitle));
    s.periodLabel = OneLine(windows.Text(kMainWindow, control::kCurrentPeriod));
    // Labels 2 and 4 hold the commas of a three-number draw (hidden under the
    // decoration panels in the window): the dice are labels 1, 3 and 5.
    for (const int i : {0, 2, 4}) {
        if (!s.dice.empty()) s.dice += ' ';
        s.dice += OneLine(windows.Text(kMainWindow, control::kDrawNumber[i]));
    }
    s.drawTime = OneLine(windows.Text(kMainWindow, control::kDrawTime));
    s.plan = LineFeeds(windows.Text(kMainWindow, control::kPlanBox));
    s.historyCount = windows.ListRowCount(kMainWindow, control::kHistoryList);
    const int shown = std::min(s.historyCount, static_cast<int>(kHistoryRows));
    for (int row = 0; row < shown; ++row) {
        s.history.push_back(
            {OneLine(windows.ListCell(kMainWindow, control::kHistoryList, row, 0)),
             OneLine(windows.ListCell(kMainWindow, control::kHistoryList, row, 1))});
    }
    return s;
}

void TerminalView::Flush() {
    if (!dirty) return;
    dirty = false;
    Shown now = Read();
    if (outputIsTerminal) {
        DrawScreen(now);
    } else {
        PrintChanges(now);
    }
    last = std::move(now);
}

void TerminalView::PrintChanges(const Shown& now) {
    std::string text;
    if (!now.loading.empty() && now.loading != last.loading) text += now.loading + "\n";
    if (now.main) {
        // Everything counts as changed when the main window has just appeared.
        const bool all = !last.main;
        if (!now.title.empty() && (all || now.title != last.title)) {
            text += "标题：" + now.title + "\n";
        }
        if (all || now.periodLabel != last.periodLabel || now.dice != last.dice) {
            text += now.periodLabel + " " + now.dice + "\n";
        }
        if (all || now.drawTime != last.drawTime) text += "开奖剩余时间：" + now.drawTime + "\n";
        if (all || now.plan != last.plan) {
            // A new draw rewrites the whole box but changes only its last lines: print
            // from the first line that differs.
            const std::vector<std::string> lines = SplitText(now.plan, "\n");
            const std::vector<std::string> before =
                all ? std::vector<std::string>() : SplitText(last.plan, "\n");
            size_t same = 0;
            while (same < lines.size() && same < before.size() && lines[same] == before[same]) {
                ++same;
            }
            if (same == lines.size()) same = 0;
            text += same == 0 ? std::string("计划：\n")
                              : "计划（第 " + std::to_string(same + 1) + " 行起）：\n";
            for (size_t i = same; i < lines.size(); ++i) text += lines[i] + "\n";
        }
        text += PrintedHistory(now);
    }
    if (text.empty()) return;
    output << text << std::flush;
}

std::string TerminalView::PrintedHistory(const Shown& now) const {
    // New draws come in as top rows above the rows printed before. Anything else (the
    // list rebuilt, many rows at once) prints the newest rows again.
    const auto& rows = now.history;
    size_t fresh = rows.size();
    const int added = now.historyCount - last.historyCount;
    if (last.main && added >= 0 && static_cast<size_t>(added) < rows.size()) {
        bool continues = true;
        for (size_t i = 0; i < last.history.size() && added + i < rows.size(); ++i) {
            continues = continues && rows[added + i] == last.history[i];
        }
        if (continues) fresh = static_cast<size_t>(added);
    }
    std::string text;
    // Oldest first, so the log reads in the order of the draws.
    for (size_t i = fresh; i-- > 0;) text += "历史开奖：" + rows[i][0] + " " + rows[i][1] + "\n";
    return text;
}

std::vector<std::string> TerminalView::Compose(const Shown& now, ScreenSize size) const {
    // One line stays free below the screen for the cursor, so a redraw never scrolls.
    const int rows = std::max(size.rows - 1, 1);
    const int columns = std::max(size.columns, 1);
    // Lines are cut to the screen's width here; the terminal's own clipping (wrap
    // off) only guards the few styled characters.
    const auto fit = [columns](std::string_view line) {
        return std::string(CutToWidth(line, columns));
    };
    std::vector<std::string> head, body, foot;
    if (!now.loading.empty()) head.push_back(fit(now.loading));
    if (now.main) {
        head.push_back(kBold + fit(now.title) + kPlain);
        head.push_back("");
        head.push_back(std::string(CutToWidth(now.periodLabel, columns - 8)) + "   " + kBold +
                       now.dice + kPlain);
        head.push_back(fit("开奖剩余时间：" + now.drawTime));
        head.push_back("");
    }
    if (!message.empty()) foot.push_back(fit("消息：" + message));
    foot.push_back(std::string(kDim) + "Ctrl+C 退出" + kPlain);

    if (now.main) {
        const int height =
            std::max(rows - static_cast<int>(head.size()) - static_cast<int>(foot.size()) - 1, 2);

        int periodColumns = DisplayWidth("开奖期号");
        for (const auto& row : now.history) {
            periodColumns = std::max(periodColumns, DisplayWidth(row[0]));
        }
        std::vector<std::string> history = {"历史开奖",
                                            Pad("开奖期号", periodColumns) + "  开奖号"};
        for (const auto& row : now.history) {
            history.push_back(Pad(row[0], periodColumns) + "  " + row[1]);
        }
        int historyColumns = 0;
        for (const auto& line : history) {
            historyColumns = std::max(historyColumns, DisplayWidth(line));
        }

        std::vector<std::string> planLines = SplitText(now.plan, "\n");
        while (!planLines.empty() && planLines.back().empty()) planLines.pop_back();

        const int planColumns = columns - historyColumns - 3;
        if (planColumns >= kMinPlanColumns) {
            // Side by side as in the window: the plan's newest lines on the left, the
            // history on the right.
            const size_t planRows = std::min(planLines.size(), static_cast<size_t>(height - 1));
            std::vector<std::string> left = {"计划"};
            left.insert(left.end(), planLines.end() - static_cast<std::ptrdiff_t>(planRows),
                        planLines.end());
            int leftColumns = 0;
            for (const auto& line : left) leftColumns = std::max(leftColumns, DisplayWidth(line));
            leftColumns = std::min(leftColumns, planColumns);
            history.resize(std::min(history.size(), static_cast<size_t>(height)));
            for (size_t r = 0; r < std::max(left.size(), history.size()); ++r) {
                body.push_back(Pad(r < left.size() ? left[r] : "", leftColumns) + " │ " +
                               (r < history.size() ? history[r] : ""));
            }
        } else {
            // Too narrow for two columns: the history above the plan.
            history.resize(std::min(history.size(), static_cast<size_t>(height / 2)));
            for (const auto& line : history) body.push_back(fit(line));
            body.push_back("");
            body.push_back("计划");
            const size_t room =
                static_cast<size_t>(std::max(height - static_cast<int>(body.size()), 0));
            const size_t planRows = std::min(planLines.size(), room);
            for (size_t i = planLines.size() - planRows; i < planLines.size(); ++i) {
                body.push_back(fit(planLines[i]));
            }
        }
        body.push_back("");
    }

    std::vector<std::string> lines = std::move(head);
    lines.insert(lines.end(), body.begin(), body.end());
    lines.insert(lines.end(), foot.begin(), foot.end());
    // A screen too small for the frame loses its lowest lines.
    if (lines.size() > static_cast<size_t>(rows)) lines.resize(static_cast<size_t>(rows));
    return lines;
}

void TerminalView::DrawScreen(const Shown& now) {
    const std::vector<std::string> lines = Compose(now, screenSize ? screenSize() : ScreenSize{});
    // From the top left corner, every line cleared to its end and the rest of the
    // screen below; wrapping is off while drawing, so a long line is clipped at the
    // right edge instead of pushing the lines below it down.
    std::string frame = "\x1b[?7l\x1b[H";
    for (const std::string& line : lines) frame += line + "\x1b[K\n";
    frame += "\x1b[J\x1b[?7h";
    if (frame == lastFrame) return;
    output << frame << std::flush;
    lastFrame = std::move(frame);
}

MessageResult TerminalView::Answer(const std::string& text, MessageButtons buttons) {
    // The windows' state first, so the box follows what led to it.
    Flush();
    const bool offer = buttons == MessageButtons::OkCancel;
    MessageResult result = MessageResult::Ok;
    std::string how;  // how an OK/Cancel box was answered
    if (offer && acceptUpdate) {
        how = "确定（自动接受）";
    } else if (offer && !inputIsTerminal) {
        result = MessageResult::Cancel;
        how = "取消（标准输入不是终端）";
    }
    if (outputIsTerminal) {
        message = OneLine(text);
        if (!how.empty()) message += "  确定/取消：" + how;
        dirty = true;
        Flush();
    } else {
        output << "消息：" << LineFeeds(text) << "\n";
        if (!how.empty()) output << "确定/取消：" << how << "\n";
        output << std::flush;
    }
    if (!offer || !how.empty()) return result;

    output << "确定/取消？[y/N] " << std::flush;
    std::string line;
    // End of input, or a read cut short by Ctrl+C, declines.
    result = std::getline(input, line) && Accepts(line) ? MessageResult::Ok : MessageResult::Cancel;
    how = result == MessageResult::Ok ? "确定" : "取消";
    if (outputIsTerminal) {
        message += "  确定/取消：" + how;
        // The prompt and the typed answer moved the cursor: draw the whole screen again.
        lastFrame.clear();
        dirty = true;
    } else {
        // Standard output may be a log without the typed answer.
        output << "确定/取消：" << how << "\n" << std::flush;
    }
    return result;
}

}  // namespace veltra
