// In-memory window system.
#include "platform/headless/headless_window_system.h"

namespace veltra {

HeadlessWindowSystem::ControlState& HeadlessWindowSystem::Slot(std::string_view window,
                                                               std::string_view control) {
    return controls[Key(std::string(window), std::string(control))];
}

const HeadlessWindowSystem::ControlState* HeadlessWindowSystem::Control(
    std::string_view window, std::string_view control) const {
    const auto it = controls.find(Key(std::string(window), std::string(control)));
    return it == controls.end() ? nullptr : &it->second;
}

std::string HeadlessWindowSystem::Text(std::string_view window, std::string_view control) const {
    const ControlState* state = Control(window, control);
    return state ? state->text : std::string();
}

void HeadlessWindowSystem::SetText(std::string_view window, std::string_view control,
                                   std::string_view text) {
    Slot(window, control).text = std::string(text);
}

void HeadlessWindowSystem::SetSelectionStart(std::string_view window, std::string_view control,
                                             int position) {
    Slot(window, control).selectionStart = position;
}

void HeadlessWindowSystem::ProcessPendingEvents() {
    ++pendingRuns;
    if (pendingHook) pendingHook();
}

MessageResult HeadlessWindowSystem::ShowMessage(std::string_view text, MessageButtons buttons) {
    MessageResult answer = MessageResult::Ok;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    if (buttons == MessageButtons::Ok) answer = MessageResult::Ok;
    messages.push_back({std::string(text), buttons, answer});
    return answer;
}

void HeadlessWindowSystem::ScriptAnswers(std::vector<MessageResult> list) {
    answers.assign(list.begin(), list.end());
}

}  // namespace veltra
