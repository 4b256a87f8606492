// A window system kept in memory: every control's properties, the message boxes
// shown and their scripted answers. Tests inspect it; the terminal view draws it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_system.h"

namespace veltra {

class HeadlessWindowSystem : public WindowSystem {
  public:
    struct ControlState {
        std::string text;
        int selectionStart = 0;
    };
    struct ShownMessage {
        std::string text;
        MessageButtons buttons;
        MessageResult answer;
    };

    std::string Text(std::string_view window, std::string_view control) const override;
    void SetText(std::string_view window, std::string_view control, std::string_view text) override;
    void SetSelectionStart(std::string_view window, std::string_view control,
                           int position) override;
    void ProcessPendingEvents() override;
    MessageResult ShowMessage(std::string_view text, MessageButtons buttons) override;

    // Answers for the next message boxes, in order; when none is left a box is
    // answered with OK.
    void ScriptAnswers(std::vector<MessageResult> answers);
    // Runs at every ProcessPendingEvents call, standing for queued window events.
    void SetPendingEventHook(std::function<void()> hook) { pendingHook = std::move(hook); }

    const ControlState* Control(std::string_view window, std::string_view control) const;
    const std::vector<ShownMessage>& Messages() const { return messages; }
    int PendingEventRuns() const { return pendingRuns; }

  private:
    using Key = std::pair<std::string, std::string>;
    ControlState& Slot(std::string_view window, std::string_view control);

    std::map<Key, ControlState, std::less<>> controls;
    std::deque<MessageResult> answers;
    std::vector<ShownMessage> messages;
    std::function<void()> pendingHook;
    int pendingRuns = 0;
};

}  // namespace veltra
