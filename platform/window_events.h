// The events a window system delivers to the program. Every handler runs on the
// one GUI thread; a handler may be entered again from inside ProcessPendingEvents.
#pragma once

#include <string_view>

namespace veltra {

class WindowEvents {
  public:
    virtual ~WindowEvents() = default;

    virtual void OnClick(std::string_view /*window*/, std::string_view /*control*/) {}
    // The user moved a slider.
    virtual void OnSliderMoved(std::string_view /*window*/, std::string_view /*control*/) {}
    virtual void OnFocusLost(std::string_view /*window*/, std::string_view /*control*/) {}
    // Character input in a filtered text box: returns the character to pass on, or 0
    // to discard it.
    virtual int OnCharacter(std::string_view /*window*/, std::string_view /*control*/, int code) {
        return code;
    }
    // The right mouse button released over a control: true consumes it.
    virtual bool OnRightButtonUp(std::string_view /*window*/, std::string_view /*control*/) {
        return false;
    }
    // A browser control is about to navigate to url: true cancels the navigation.
    virtual bool OnBeforeNavigate(std::string_view /*window*/, std::string_view /*control*/,
                                  std::string_view /*url*/) {
        return false;
    }
    virtual void OnTimer(std::string_view /*window*/, std::string_view /*timer*/) {}
    // The user asked the window system to close the window.
    virtual void OnCloseRequest(std::string_view /*window*/) {}
    virtual void OnFirstActivation(std::string_view /*window*/) {}
};

}  // namespace veltra
