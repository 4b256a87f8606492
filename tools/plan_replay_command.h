// The plan-replay command: rebuilds the plan from a draw history exactly as the
// program does at start-up (or takes every draw live) and prints the plan box text.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace veltra {

// args exclude the program name. Returns the exit code: 0, 1 for unreadable or bad
// input, 2 for a wrong command line.
int RunPlanReplay(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                  std::ostream& err);

}  // namespace veltra
