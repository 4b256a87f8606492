// The window system on Qt 6 Widgets: every window and control of a description is a
// real widget named after the control (its objectName), events go to the program,
// timers are QTimers and processing pending events is Qt's. Needs a QApplication.
//
// The program may end itself from inside a handler by throwing (see ProcessExit).
// Qt must never see that exception: a handler's exception is caught where Qt called
// it, every event loop of ours is left, further events are dropped, and the
// exception is thrown again once control is back in our own call (the message
// loop, ProcessPendingEvents, a message box, ShowWindow, or the operation whose
// signal ran the handler).
#pragma once

#include <QPointer>
#include <QWidget>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_system.h"

class QEventLoop;
class QMessageBox;
class QTimer;

namespace veltra {

class WindowWidget;

class QtWindowSystem final : public WindowSystem {
  public:
    QtWindowSystem();
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    // --- WindowSystem
    void SetEventHandler(WindowEvents* handler) override { events = handler; }
    bool CreateWindow(const WindowDesign& design) override;
    bool WindowExists(std::string_view window) const override;
    void DestroyWindow(std::string_view window) override;
    // Also waits (at most a second) for the window's first paint, so that it shows
    // before the caller goes on, for instance into a blocking network call.
    void ShowWindow(std::string_view window) override;
    bool WindowVisible(std::string_view window) const override;
    void MinimiseWindow(std::string_view window) override;
    void SetWindowCaption(std::string_view window, std::string_view caption) override;
    std::string WindowCaption(std::string_view window) const override;
    Rect WindowGeometry(std::string_view window) const override;
    void SetWindowBackground(std::string_view window, std::string_view picture) override;
    std::string Text(std::string_view window, std::string_view control) const override;
    void SetText(std::string_view window, std::string_view control, std::string_view text) override;
    Rect Geometry(std::string_view window, std::string_view control) const override;
    void SetGeometry(std::string_view window, std::string_view control,
                     const Rect& geometry) override;
    bool Visible(std::string_view window, std::string_view control) const override;
    void SetVisible(std::string_view window, std::string_view control, bool visible) override;
    // rgb is 0xRRGGBB.
    void SetBackgroundColour(std::string_view window, std::string_view control,
                             unsigned rgb) override;
    void SetSelectionStart(std::string_view window, std::string_view control,
                           int position) override;
    int ComboSelection(std::string_view window, std::string_view control) const override;
    void SetComboSelection(std::string_view window, std::string_view control, int index) override;
    // Clamps the position into the new range without reporting it as moved.
    void SetSliderRange(std::string_view window, std::string_view control, int minimum,
                        int maximum) override;
    int SliderPosition(std::string_view window, std::string_view control) const override;
    void SetSliderPosition(std::string_view window, std::string_view control,
                           int position) override;
    void SetSpinRange(std::string_view window, std::string_view control, int minimum,
                      int maximum) override;
    void InsertListRow(std::string_view window, std::string_view control, int index,
                       const std::vector<std::string>& cells) override;
    void ClearListRows(std::string_view window, std::string_view control) override;
    int ListRowCount(std::string_view window, std::string_view control) const override;
    std::string ListCell(std::string_view window, std::string_view control, int row,
                         int column) const override;
    void SetTimerPeriod(std::string_view window, std::string_view timer, int milliseconds) override;
    int TimerPeriod(std::string_view window, std::string_view timer) const override;
    void SetBrowserAddress(std::string_view window, std::string_view control,
                           std::string_view url) override;
    std::string BrowserAddress(std::string_view window, std::string_view control) const override;
    void ProcessPendingEvents() override;
    MessageResult ShowMessage(std::string_view text, MessageButtons buttons) override;
    // Line ends become the desktop's own (LF) on the way to the clipboard.
    void SetClipboardText(std::string_view text) override;
    std::string ClipboardText() const override;
    void ShowBalloonTip(std::string_view window, std::string_view control, std::string_view text,
                        int x, int y) override;
    int RunMessageLoop() override;
    void QuitMessageLoop(int exitCode) override;

    // --- for the desktop program and its tests
    // The window's top-level widget; nullptr when there is no such window.
    QWidget* WindowWidgetOf(std::string_view window) const;
    // Called with the window's name when a window is painted for the first time.
    void SetFirstPaintListener(std::function<void(const std::string&)> listener) {
        firstPaintListener = std::move(listener);
    }

  private:
    struct ControlRecord {
        ControlDesign design;
        QPointer<QWidget> widget;
        QPointer<QTimer> timer;
        int timerPeriod = 0;
        Rect geometry;        // of controls that are no widget in the window
        std::string text;     // as the program wrote it
        std::string address;  // browser
    };
    struct WindowRecord {
        WindowDesign design;
        QPointer<WindowWidget> widget;
        std::map<std::string, ControlRecord, std::less<>> controls;
    };

    WindowRecord* FindWindow(std::string_view window) const;
    ControlRecord* Find(std::string_view window, std::string_view control) const;
    void BuildControl(WindowRecord& record, const ControlDesign& design);
    void Navigate(const std::string& window, const std::string& control, const std::string& url);

    // Runs a handler on behalf of Qt; see the class comment.
    void Dispatch(const std::function<void(WindowEvents&)>& call);
    void AbandonLoops();
    void RethrowPending();
    // Runs loop until it is left; it is left early when the program ends.
    void RunLoop(QEventLoop& loop);

    std::map<std::string, std::unique_ptr<WindowRecord>, std::less<>> windows;
    std::vector<QPointer<QWidget>> destroyed;  // deleted later, or at the latest with us
    WindowEvents* events = nullptr;
    std::exception_ptr pending;
    std::vector<QEventLoop*> loops;
    std::vector<QMessageBox*> boxes;
    QEventLoop* messageLoop = nullptr;
    bool quitRequested = false;
    int exitCode = 0;
    std::function<void(const std::string&)> firstPaintListener;
};

}  // namespace veltra
