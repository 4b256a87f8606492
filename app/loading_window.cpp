// The loading window.
#include "app/loading_window.h"

#include "app/main_window_design.h"

namespace veltra {

bool LoadingWindow::Show(std::string_view message) {
    if (windows.WindowExists(kLoadingWindow)) return false;
    windows.CreateWindow(LoadingWindowDesign());
    windows.SetText(kLoadingWindow, control::kLoadingMessage, message);
    windows.ShowWindow(kLoadingWindow);
    // Painted now, before the caller blocks on the network.
    windows.ProcessPendingEvents();
    return true;
}

bool LoadingWindow::Close() {
    if (!windows.WindowExists(kLoadingWindow)) return false;
    windows.DestroyWindow(kLoadingWindow);
    return true;
}

}  // namespace veltra
