// Download progress on the updater's terminal: a one-line bar redrawn in place, or,
// when the output is not a terminal, plain lines that read well in a log.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace veltra {

class ProgressDisplay {
  public:
    // bar: redraw one line with "\r" (a terminal); else print a line at every tenth
    // of the download (every MiB while the size is unknown).
    ProgressDisplay(std::ostream& out, bool bar);

    // received bytes of total; total <= 0 when the size is unknown. Prints only when
    // the shown text changes.
    void Update(int64_t received, int64_t total);
    // Ends the bar's line, so what follows starts on a line of its own.
    void Finish();

  private:
    std::ostream& out;
    bool bar;
    std::string shown;     // the bar's current text
    int64_t lastStep = 0;  // the last tenth (or MiB) printed as a line
};

}  // namespace veltra
