// A window system kept in memory: every window and control with its properties,
// the message boxes shown and their scripted answers, timers on a virtual clock.
// Tests drive it like a user; the terminal view draws it and runs it in real time.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace veltra {

class HeadlessWindowSystem : public WindowSystem {
  public:
    struct ControlState {
        ControlDesign design;
        std::string text;
        Rect geometry;
        bool visible = true;
        unsigned colour = 0;
        int selectionStart = 0;
        int comboSelection = -1;
        int sliderMinimum = 0;
        int sliderMaximum = 100;
        int sliderPosition = 0;
        int spinMinimum = 0;
        int spinMaximum = 100;
        std::vector<std::vector<std::string>> rows;
        int timerPeriod = 0;
        int64_t timerDue = 0;
        std::string address;
        std::string balloonText;
        int balloonX = 0;
        int balloonY = 0;
        int balloonShows = 0;
    };
    struct WindowState {
        WindowDesign design;
        std::string caption;
        Rect geometry;
        std::string background;
        bool visible = false;
        bool minimised = false;
        int activations = 0;
        std::map<std::string, ControlState, std::less<>> controls;
    };
    struct ShownMessage {
        std::string text;
        MessageButtons buttons;
        MessageResult answer;
    };

    HeadlessWindowSystem() = default;

    // --- WindowSystem
    void SetEventHandler(WindowEvents* handler) override { events = handler; }
    bool CreateWindow(const WindowDesign& design) override;
    bool WindowExists(std::string_view window) const override;
    void DestroyWindow(std::string_view window) override;
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
    void SetBackgroundColour(std::string_view window, std::string_view control,
                             unsigned rgb) override;
    void SetSelectionStart(std::string_view window, std::string_view control,
                           int position) override;
    int ComboSelection(std::string_view window, std::string_view control) const override;
    void SetComboSelection(std::string_view window, std::string_view control, int index) override;
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
    void SetClipboardText(std::string_view text) override { clipboard = std::string(text); }
    std::string ClipboardText() const override { return clipboard; }
    void ShowBalloonTip(std::string_view window, std::string_view control, std::string_view text,
                        int x, int y) override;
    // Runs timers in real time (sleeping between them) until QuitMessageLoop.
    int RunMessageLoop() override;
    void QuitMessageLoop(int exitCode) override;

    // --- driving it like a user
    void Click(std::string_view window, std::string_view control);
    void SelectComboItem(std::string_view window, std::string_view control, int index);
    void MoveSlider(std::string_view window, std::string_view control, int position);
    void LeaveFocus(std::string_view window, std::string_view control);
    // Types one character into a filtered box; returns what the box received (0: nothing).
    int TypeCharacter(std::string_view window, std::string_view control, int code);
    bool RightButtonUp(std::string_view window, std::string_view control);
    // A link followed in a browser control; false when the program cancelled it.
    bool FollowLink(std::string_view window, std::string_view control, std::string_view url);
    void RequestClose(std::string_view window);
    // Advances the virtual time, firing every timer that falls due, in time order.
    void AdvanceTime(int milliseconds);
    int64_t VirtualTime() const { return virtualNow; }

    // --- scripting and inspection
    // Answers for the next message boxes, in order; when none is left a box is
    // answered by the responder, or with OK.
    void ScriptAnswers(std::vector<MessageResult> answers);
    void SetMessageResponder(
        std::function<MessageResult(const std::string&, MessageButtons)> responder) {
        messageResponder = std::move(responder);
    }
    // Runs at every ProcessPendingEvents call, standing for queued window events.
    void SetPendingEventHook(std::function<void()> hook) { pendingHook = std::move(hook); }
    // Called after any visible change (text, rows, windows); the terminal view redraws.
    void SetChangeListener(std::function<void()> listener) { changeListener = std::move(listener); }
    // Runs once per turn of the real-time loop (the terminal view reads its input here).
    void SetIdleHook(std::function<void()> hook) { idleHook = std::move(hook); }

    const WindowState* Window(std::string_view window) const;
    const ControlState* Control(std::string_view window, std::string_view control) const;
    const std::vector<ShownMessage>& Messages() const { return messages; }
    int PendingEventRuns() const { return pendingRuns; }
    bool QuitRequested() const { return quitRequested; }
    int ExitCode() const { return exitCode; }

  private:
    ControlState* Find(std::string_view window, std::string_view control);
    WindowState* FindWindow(std::string_view window);
    void Changed();

    std::map<std::string, WindowState, std::less<>> windows;
    // Controls written before any window exists (e.g. by a bare plan display).
    std::map<std::pair<std::string, std::string>, ControlState, std::less<>> loose;
    WindowEvents* events = nullptr;
    std::deque<MessageResult> answers;
    std::vector<ShownMessage> messages;
    std::function<MessageResult(const std::string&, MessageButtons)> messageResponder;
    std::function<void()> pendingHook;
    std::function<void()> changeListener;
    std::function<void()> idleHook;
    std::string clipboard;
    int pendingRuns = 0;
    int64_t virtualNow = 0;
    std::atomic<bool> quitRequested{false};
    int exitCode = 0;
};

}  // namespace veltra
