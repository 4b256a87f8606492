// Ending the process from anywhere, at once, with the shutdown routine still run:
// EndProcess unwinds to the program's entry, which releases everything it owns and
// returns the exit code.
#pragma once

namespace veltra {

struct ProcessExit {
    int code = 0;
};

[[noreturn]] inline void EndProcess(int code) {
    throw ProcessExit{code};
}

}  // namespace veltra
