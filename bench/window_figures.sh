#!/usr/bin/env bash
# The desktop window's figures beside an empty Qt window: start-up to the window
# shown, peak resident memory, CPU over 60 s of idle countdown. Builds what it needs;
# extra arguments go to window_figures (--starts N, --idle-seconds S).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
cmake --build "$build" --target window_figures empty_window veltra_program appserver >/dev/null
"$build"/bench/window_figures "$@"
