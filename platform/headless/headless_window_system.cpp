// In-memory window system.
#include "platform/headless/headless_window_system.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace veltra {
namespace {

constexpr int64_t kNever = INT64_MAX;

}  // namespace

HeadlessWindowSystem::WindowState* HeadlessWindowSystem::FindWindow(std::string_view window) {
    const auto it = windows.find(window);
    return it == windows.end() ? nullptr : &it->second;
}

const HeadlessWindowSystem::WindowState* HeadlessWindowSystem::Window(
    std::string_view window) const {
    const auto it = windows.find(window);
    return it == windows.end() ? nullptr : &it->second;
}

HeadlessWindowSystem::ControlState* HeadlessWindowSystem::Find(std::string_view window,
                                                               std::string_view control) {
    if (WindowState* w = FindWindow(window)) {
        const auto it = w->controls.find(control);
        return it == w->controls.end() ? nullptr : &it->second;
    }
    // Without a window, controls live on their own: a plan display can be bound to a
    // box before (or without) any window being built.
    return &loose[{std::string(window), std::string(control)}];
}

const HeadlessWindowSystem::ControlState* HeadlessWindowSystem::Control(
    std::string_view window, std::string_view control) const {
    if (const WindowState* w = Window(window)) {
        const auto it = w->controls.find(control);
        return it == w->controls.end() ? nullptr : &it->second;
    }
    const auto it = loose.find(std::pair<std::string, std::string>(window, control));
    return it == loose.end() ? nullptr : &it->second;
}

void HeadlessWindowSystem::Changed() {
    if (changeListener) changeListener();
}

bool HeadlessWindowSystem::CreateWindow(const WindowDesign& design) {
    if (windows.contains(design.name)) return false;
    WindowState state;
    state.design = design;
    state.caption = design.caption;
    state.geometry = design.geometry;
    state.background = design.background;
    for (const ControlDesign& c : design.controls) {
        ControlState control;
        control.design = c;
        control.text = c.text;
        control.geometry = c.geometry;
        control.visible = c.visible;
        control.rows = c.rows;
        if (c.kind == ControlKind::ComboBox && !c.items.empty()) control.comboSelection = 0;
        if (c.kind == ControlKind::ComboBox) control.text.clear();
        state.controls.emplace(c.name, std::move(control));
    }
    windows.emplace(design.name, std::move(state));
    Changed();
    return true;
}

bool HeadlessWindowSystem::WindowExists(std::string_view window) const {
    return Window(window) != nullptr;
}

void HeadlessWindowSystem::DestroyWindow(std::string_view window) {
    const auto it = windows.find(window);
    if (it == windows.end()) return;
    windows.erase(it);
    Changed();
}

void HeadlessWindowSystem::ShowWindow(std::string_view window) {
    WindowState* w = FindWindow(window);
    if (!w) return;
    w->visible = true;
    w->minimised = false;
    const bool first = w->activations++ == 0;
    Changed();
    if (first && events) events->OnFirstActivation(window);
}

bool HeadlessWindowSystem::WindowVisible(std::string_view window) const {
    const WindowState* w = Window(window);
    return w && w->visible;
}

void HeadlessWindowSystem::MinimiseWindow(std::string_view window) {
    if (WindowState* w = FindWindow(window)) w->minimised = true;
}

void HeadlessWindowSystem::SetWindowCaption(std::string_view window, std::string_view caption) {
    if (WindowState* w = FindWindow(window)) {
        w->caption = std::string(caption);
        Changed();
    }
}

std::string HeadlessWindowSystem::WindowCaption(std::string_view window) const {
    const WindowState* w = Window(window);
    return w ? w->caption : std::string();
}

Rect HeadlessWindowSystem::WindowGeometry(std::string_view window) const {
    const WindowState* w = Window(window);
    return w ? w->geometry : Rect{};
}

void HeadlessWindowSystem::SetWindowBackground(std::string_view window, std::string_view picture) {
    if (WindowState* w = FindWindow(window)) w->background = std::string(picture);
}

std::string HeadlessWindowSystem::Text(std::string_view window, std::string_view control) const {
    const ControlState* c = Control(window, control);
    if (!c) return {};
    if (c->design.kind == ControlKind::ComboBox) {
        const auto& items = c->design.items;
        return c->comboSelection >= 0 && c->comboSelection < static_cast<int>(items.size())
                   ? items[static_cast<size_t>(c->comboSelection)]
                   : std::string();
    }
    return c->text;
}

void HeadlessWindowSystem::SetText(std::string_view window, std::string_view control,
                                   std::string_view text) {
    if (ControlState* c = Find(window, control)) {
        c->text = std::string(text);
        Changed();
    }
}

Rect HeadlessWindowSystem::Geometry(std::string_view window, std::string_view control) const {
    const ControlState* c = Control(window, control);
    return c ? c->geometry : Rect{};
}

void HeadlessWindowSystem::SetGeometry(std::string_view window, std::string_view control,
                                       const Rect& geometry) {
    if (ControlState* c = Find(window, control)) c->geometry = geometry;
}

bool HeadlessWindowSystem::Visible(std::string_view window, std::string_view control) const {
    const ControlState* c = Control(window, control);
    return c && c->visible;
}

void HeadlessWindowSystem::SetVisible(std::string_view window, std::string_view control,
                                      bool visible) {
    if (ControlState* c = Find(window, control)) c->visible = visible;
}

void HeadlessWindowSystem::SetBackgroundColour(std::string_view window, std::string_view control,
                                               unsigned rgb) {
    if (ControlState* c = Find(window, control)) c->colour = rgb;
}

void HeadlessWindowSystem::SetSelectionStart(std::string_view window, std::string_view control,
                                             int position) {
    if (ControlState* c = Find(window, control)) c->selectionStart = position;
}

int HeadlessWindowSystem::ComboSelection(std::string_view window, std::string_view control) const {
    const ControlState* c = Control(window, control);
    return c ? c->comboSelection : -1;
}

void HeadlessWindowSystem::SetComboSelection(std::string_view window, std::string_view control,
                                             int index) {
    ControlState* c = Find(window, control);
    if (!c) return;
    const bool inRange = index >= 0 && index < static_cast<int>(c->design.items.size());
    c->comboSelection = inRange ? index : -1;
    Changed();
}

void HeadlessWindowSystem::SetSliderRange(std::string_view window, std::string_view control,
                                          int minimum, int maximum) {
    ControlState* c = Find(window, control);
    if (!c) return;
    c->sliderMinimum = minimum;
    c->sliderMaximum = std::max(minimum, maximum);
    c->sliderPosition = std::clamp(c->sliderPosition, c->sliderMinimum, c->sliderMaximum);
}

int HeadlessWindowSystem::SliderPosition(std::string_view window, std::string_view control) const {
    const ControlState* c = Control(window, control);
    return c ? c->sliderPosition : 0;
}

void HeadlessWindowSystem::SetSliderPosition(std::string_view window, std::string_view control,
                                             int position) {
    ControlState* c = Find(window, control);
    if (!c) return;
    // A position set by the program is not reported back as a move.
    c->sliderPosition = std::clamp(position, c->sliderMinimum, c->sliderMaximum);
}

void HeadlessWindowSystem::SetSpinRange(std::string_view window, std::string_view control,
                                        int minimum, int maximum) {
    if (ControlState* c = Find(window, control)) {
        c->spinMinimum = minimum;
        c->spinMaximum = maximum;
    }
}

void HeadlessWindowSystem::InsertListRow(std::string_view window, std::string_view control,
                                         int index, const std::vector<std::string>& cells) {
    ControlState* c = Find(window, control);
    if (!c) return;
    const size_t at =
        std::clamp<size_t>(static_cast<size_t>(std::max(index, 0)), 0, c->rows.size());
    c->rows.insert(c->rows.begin() + static_cast<std::ptrdiff_t>(at), cells);
    Changed();
}

void HeadlessWindowSystem::ClearListRows(std::string_view window, std::string_view control) {
    if (ControlState* c = Find(window, control)) {
        c->rows.clear();
        Changed();
    }
}

int HeadlessWindowSystem::ListRowCount(std::string_view window, std::string_view control) const {
    const ControlState* c = Control(window, control);
    return c ? static_cast<int>(c->rows.size()) : 0;
}

std::string HeadlessWindowSystem::ListCell(std::string_view window, std::string_view control,
                                           int row, int column) const {
    const ControlState* c = Control(window, control);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return {};
    const auto& cells = c->rows[static_cast<size_t>(row)];
    return column >= 0 && column < static_cast<int>(cells.size())
               ? cells[static_cast<size_t>(column)]
               : std::string();
}

void HeadlessWindowSystem::SetTimerPeriod(std::string_view window, std::string_view timer,
                                          int milliseconds) {
    ControlState* c = Find(window, timer);
    if (!c) return;
    c->timerPeriod = std::max(milliseconds, 0);
    c->timerDue = c->timerPeriod > 0 ? virtualNow + c->timerPeriod : kNever;
}

int HeadlessWindowSystem::TimerPeriod(std::string_view window, std::string_view timer) const {
    const ControlState* c = Control(window, timer);
    return c ? c->timerPeriod : 0;
}

void HeadlessWindowSystem::SetBrowserAddress(std::string_view window, std::string_view control,
                                             std::string_view url) {
    ControlState* c = Find(window, control);
    if (!c) return;
    // Setting the address starts a navigation, which the program may cancel.
    if (events && events->OnBeforeNavigate(window, control, url)) return;
    if ((c = Find(window, control))) c->address = std::string(url);
}

std::string HeadlessWindowSystem::BrowserAddress(std::string_view window,
                                                 std::string_view control) const {
    const ControlState* c = Control(window, control);
    return c ? c->address : std::string();
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
    } else if (messageResponder) {
        answer = messageResponder(std::string(text), buttons);
    }
    if (buttons == MessageButtons::Ok) answer = MessageResult::Ok;
    messages.push_back({std::string(text), buttons, answer});
    return answer;
}

void HeadlessWindowSystem::ScriptAnswers(std::vector<MessageResult> list) {
    answers.assign(list.begin(), list.end());
}

void HeadlessWindowSystem::ShowBalloonTip(std::string_view window, std::string_view control,
                                          std::string_view text, int x, int y) {
    ControlState* c = Find(window, control);
    if (!c) return;
    c->balloonText = std::string(text);
    c->balloonX = x;
    c->balloonY = y;
    ++c->balloonShows;
    Changed();
}

void HeadlessWindowSystem::Click(std::string_view window, std::string_view control) {
    if (events && Control(window, control)) events->OnClick(window, control);
}

void HeadlessWindowSystem::SelectComboItem(std::string_view window, std::string_view control,
                                           int index) {
    SetComboSelection(window, control, index);
}

void HeadlessWindowSystem::MoveSlider(std::string_view window, std::string_view control,
                                      int position) {
    const int before = SliderPosition(window, control);
    SetSliderPosition(window, control, position);
    if (events && SliderPosition(window, control) != before) events->OnSliderMoved(window, control);
}

void HeadlessWindowSystem::LeaveFocus(std::string_view window, std::string_view control) {
    if (events && Control(window, control)) events->OnFocusLost(window, control);
}

int HeadlessWindowSystem::TypeCharacter(std::string_view window, std::string_view control,
                                        int code) {
    if (!events || !Control(window, control)) return code;
    return events->OnCharacter(window, control, code);
}

bool HeadlessWindowSystem::RightButtonUp(std::string_view window, std::string_view control) {
    return events && Control(window, control) && events->OnRightButtonUp(window, control);
}

bool HeadlessWindowSystem::FollowLink(std::string_view window, std::string_view control,
                                      std::string_view url) {
    if (!Control(window, control)) return false;
    if (events && events->OnBeforeNavigate(window, control, url)) return false;
    if (ControlState* c = Find(window, control)) c->address = std::string(url);
    return true;
}

void HeadlessWindowSystem::RequestClose(std::string_view window) {
    if (events && WindowExists(window)) events->OnCloseRequest(window);
}

void HeadlessWindowSystem::AdvanceTime(int milliseconds) {
    const int64_t target = virtualNow + std::max(milliseconds, 0);
    for (;;) {
        // The earliest due timer; handlers may create, stop or destroy timers.
        std::string dueWindow, dueTimer;
        int64_t due = kNever;
        for (auto& [wname, w] : windows) {
            for (auto& [cname, c] : w.controls) {
                if (c.timerPeriod > 0 && c.timerDue < due) {
                    due = c.timerDue;
                    dueWindow = wname;
                    dueTimer = cname;
                }
            }
        }
        if (due > target || quitRequested) break;
        virtualNow = due;
        ControlState* timer = Find(dueWindow, dueTimer);
        timer->timerDue = due + timer->timerPeriod;
        if (events) events->OnTimer(dueWindow, dueTimer);
    }
    if (!quitRequested) virtualNow = target;
}

int HeadlessWindowSystem::RunMessageLoop() {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now() - std::chrono::milliseconds(virtualNow);
    while (!quitRequested) {
        if (idleHook) idleHook();
        if (quitRequested) break;
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        if (elapsed > virtualNow) AdvanceTime(static_cast<int>(elapsed - virtualNow));
        // Sleep until the next timer falls due, waking at least every 100 ms so that
        // the idle hook (a quit request, terminal input) is seen promptly.
        int64_t due = virtualNow + 100;
        for (const auto& [wname, w] : windows) {
            for (const auto& [cname, c] : w.controls) {
                if (c.timerPeriod > 0) due = std::min(due, c.timerDue);
            }
        }
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::clamp<int64_t>(due - virtualNow, 1, 100)));
    }
    return exitCode;
}

void HeadlessWindowSystem::QuitMessageLoop(int code) {
    exitCode = code;
    quitRequested = true;
}

}  // namespace veltra
