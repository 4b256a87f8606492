// Has fontconfig read its configuration and font caches on a thread of its own,
// started before the application: meanwhile the main thread connects to the display,
// and the first text drawn does not wait for the fonts any more.
#pragma once

#include <thread>

namespace veltra {

class FontWarmUp {
  public:
    FontWarmUp();
    ~FontWarmUp();  // waits for the thread
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

  private:
    std::thread thread;
};

}  // namespace veltra
