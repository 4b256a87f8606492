// The terminal view: draws the headless main window (title, live panel, countdown,
// plan box, newest history rows, loading message) on a terminal or as plain log
// lines, answers message boxes from the terminal, and ends the message loop on
// Ctrl+C or SIGTERM.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/headless/headless_window_system.h"

namespace veltra {

class TerminalView {
  public:
    struct ScreenSize {
        int rows = 24;
        int columns = 80;
    };

    // outputIsTerminal: redraw the screen with ANSI escapes; otherwise print each
    // change as plain lines without escapes. inputIsTerminal: the update offer is
    // asked on input; otherwise it is declined, unless acceptUpdate accepts it.
    // The window system and both streams must outlive the view.
    TerminalView(HeadlessWindowSystem& windows, std::ostream& output, bool outputIsTerminal,
                 std::istream& input, bool inputIsTerminal, bool acceptUpdate);
    ~TerminalView();
    TerminalView(const TerminalView&) = delete;
    TerminalView& operator=(const TerminalView&) = delete;

    // Installs the change listener, the message responder, the idle hook and the
    // pending-event hook on the window system. Detach (also run by the destructor)
    // removes them.
    void Attach();
    void Detach();

    // Ctrl+C and SIGTERM set a flag that the next Idle turns into QuitMessageLoop(0).
    // The handler is reset after its first signal, so a second Ctrl+C ends a program
    // stuck in a network call at once. Restore puts back the previous handlers.
    static bool InstallSignalHandlers();
    static void RestoreSignalHandlers();

    // A control changed: drawn by the next Flush.
    void MarkChanged() { dirty = true; }
    // Draws what changed since the last Flush; nothing when nothing changed.
    void Flush();
    // One turn of the message loop: quits on a signal, else flushes. Changes only
    // come from timer ticks, so the screen is redrawn at most once per tick.
    void Idle();
    // A message box: printed; OK/Cancel answered by acceptUpdate, the input or Cancel.
    MessageResult Answer(const std::string& text, MessageButtons buttons);
    // Where the terminal size comes from (default: the size of standard output).
    void SetScreenSizeSource(std::function<ScreenSize()> source) { screenSize = std::move(source); }

  private:
    // What the windows show, as the view draws it.
    struct Shown {
        std::string loading;  // the loading window's message while it exists
        bool main = false;    // the main window is visible; the fields below are set
        std::string title;
        std::string periodLabel;
        std::string dice;  // the three dice of labels 1, 3 and 5, space separated
        std::string drawTime;
        std::string plan;                               // LF line ends
        std::vector<std::vector<std::string>> history;  // newest first, at most kHistoryRows
        int historyCount = 0;
    };

    Shown Read() const;
    void PrintChanges(const Shown& now);
    std::string PrintedHistory(const Shown& now) const;
    void DrawScreen(const Shown& now);
    std::vector<std::string> Compose(const Shown& now, ScreenSize size) const;
    MessageResult Ask();

    HeadlessWindowSystem& windows;
    std::ostream& output;
    std::istream& input;
    bool outputIsTerminal;
    bool inputIsTerminal;
    bool acceptUpdate;
    std::function<ScreenSize()> screenSize;

    bool attached = false;
    bool dirty = true;
    bool loopRunning = false;
    Shown last;
    std::string lastFrame;
    std::string message;  // the latest message box, kept at the screen's foot
};

}  // namespace veltra
