// The small window shown while start-up talks to the server.
#pragma once

#include <string_view>

#include "platform/window_system.h"

namespace veltra {

class LoadingWindow {
  public:
    explicit LoadingWindow(WindowSystem& windows) : windows(windows) {}

    // Creates and paints the window with message; false (nothing changed) when it
    // already exists.
    bool Show(std::string_view message);
    // Destroys the window; false when there is none. Not a close request: the
    // program goes on.
    bool Close();

  private:
    WindowSystem& windows;
};

}  // namespace veltra
