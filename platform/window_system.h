// The window operations the program's logic uses. Windows and controls are reached
// by name; the desktop window and the headless window system implement this.
#pragma once

#include <string>
#include <string_view>

namespace veltra {

enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // Text of a control; an unknown control reads as the empty text.
    virtual std::string Text(std::string_view window, std::string_view control) const = 0;
    virtual void SetText(std::string_view window, std::string_view control,
                         std::string_view text) = 0;
    // Selection start of a text control in characters; -1 places the caret after
    // the last character.
    virtual void SetSelectionStart(std::string_view window, std::string_view control,
                                   int position) = 0;
    // Runs the window events that are waiting; handlers may run from here.
    virtual void ProcessPendingEvents() = 0;
    // A modal message box without caption; returns the button the user chose.
    virtual MessageResult ShowMessage(std::string_view text, MessageButtons buttons) = 0;
};

}  // namespace veltra
