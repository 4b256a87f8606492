// Entry point of plan-replay.
#include <iostream>
#include <string>
#include <vector>

#include "tools/plan_replay_command.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return veltra::RunPlanReplay(args, std::cin, std::cout, std::cerr);
}
