// A private X server (Xvfb) for one test process or benchmark: it picks a free
// display number itself, so parallel runs never collide. Stopped with the object.
#pragma once

#include <sys/types.h>

#include <string>

namespace veltra::test {

class XvfbDisplay {
  public:
    // Starts Xvfb with one 1280x800 screen of 24-bit colour and waits (at most 20 s)
    // until it accepts connections. When it does not, Running() is false and Error()
    // says why.
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool Running() const { return pid > 0; }
    const std::string& Error() const { return error; }
    // ":N", the value for DISPLAY.
    const std::string& Name() const { return name; }

  private:
    pid_t pid = -1;
    std::string name;
    std::string error;
};

}  // namespace veltra::test
