// The window operations the program's logic uses. Windows and controls are reached
// by name; the desktop window and the headless window system implement this.
// Operations on a window or control that does not exist do nothing and read as
// empty or zero.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/window_design.h"
#include "platform/window_events.h"

namespace veltra {

enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // Where events go; nullptr drops them.
    virtual void SetEventHandler(WindowEvents* handler) = 0;

    // --- windows
    // Builds a window, hidden, from its description; false when one of that name exists.
    virtual bool CreateWindow(const WindowDesign& design) = 0;
    virtual bool WindowExists(std::string_view window) const = 0;
    virtual void DestroyWindow(std::string_view window) = 0;
    // Makes the window visible and activates it.
    virtual void ShowWindow(std::string_view window) = 0;
    virtual bool WindowVisible(std::string_view window) const = 0;
    virtual void MinimiseWindow(std::string_view window) = 0;
    virtual void SetWindowCaption(std::string_view window, std::string_view caption) = 0;
    virtual std::string WindowCaption(std::string_view window) const = 0;
    virtual Rect WindowGeometry(std::string_view window) const = 0;
    virtual void SetWindowBackground(std::string_view window, std::string_view picture) = 0;

    // --- control properties
    // Text of a control: a caption, an edit box's content, a combo box's selected item.
    virtual std::string Text(std::string_view window, std::string_view control) const = 0;
    virtual void SetText(std::string_view window, std::string_view control,
                         std::string_view text) = 0;
    virtual Rect Geometry(std::string_view window, std::string_view control) const = 0;
    virtual void SetGeometry(std::string_view window, std::string_view control,
                             const Rect& geometry) = 0;
    virtual bool Visible(std::string_view window, std::string_view control) const = 0;
    virtual void SetVisible(std::string_view window, std::string_view control, bool visible) = 0;
    virtual void SetBackgroundColour(std::string_view window, std::string_view control,
                                     unsigned rgb) = 0;
    // Selection start of a text control in characters; -1 places the caret after
    // the last character.
    virtual void SetSelectionStart(std::string_view window, std::string_view control,
                                   int position) = 0;

    // Combo box: the selected item's index, -1 for none.
    virtual int ComboSelection(std::string_view window, std::string_view control) const = 0;
    virtual void SetComboSelection(std::string_view window, std::string_view control,
                                   int index) = 0;

    // Slider: the position is always kept inside the range. Only the user's moves
    // are reported (OnSliderMoved), not positions set by the program.
    virtual void SetSliderRange(std::string_view window, std::string_view control, int minimum,
                                int maximum) = 0;
    virtual int SliderPosition(std::string_view window, std::string_view control) const = 0;
    virtual void SetSliderPosition(std::string_view window, std::string_view control,
                                   int position) = 0;
    virtual void SetSpinRange(std::string_view window, std::string_view control, int minimum,
                              int maximum) = 0;

    // List view rows, 0-based; a row is inserted before index (clamped to the end).
    virtual void InsertListRow(std::string_view window, std::string_view control, int index,
                               const std::vector<std::string>& cells) = 0;
    virtual void ClearListRows(std::string_view window, std::string_view control) = 0;
    virtual int ListRowCount(std::string_view window, std::string_view control) const = 0;
    virtual std::string ListCell(std::string_view window, std::string_view control, int row,
                                 int column) const = 0;

    // Timer period in milliseconds; 0 stops the timer.
    virtual void SetTimerPeriod(std::string_view window, std::string_view timer,
                                int milliseconds) = 0;
    virtual int TimerPeriod(std::string_view window, std::string_view timer) const = 0;

    // Browser control: the address it shows; setting it starts loading that page.
    virtual void SetBrowserAddress(std::string_view window, std::string_view control,
                                   std::string_view url) = 0;
    virtual std::string BrowserAddress(std::string_view window, std::string_view control) const = 0;

    // --- services
    // Runs the window events that are waiting; handlers may run from here.
    virtual void ProcessPendingEvents() = 0;
    // A modal message box without caption; returns the button the user chose.
    virtual MessageResult ShowMessage(std::string_view text, MessageButtons buttons) = 0;
    virtual void SetClipboardText(std::string_view text) = 0;
    virtual std::string ClipboardText() const = 0;
    // Pops up a balloon tip control with text at a screen point.
    virtual void ShowBalloonTip(std::string_view window, std::string_view control,
                                std::string_view text, int x, int y) = 0;

    // Runs the message loop until QuitMessageLoop; returns its exit code.
    virtual int RunMessageLoop() = 0;
    virtual void QuitMessageLoop(int exitCode) = 0;
};

}  // namespace veltra
