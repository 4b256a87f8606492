#!/usr/bin/env bash
# The long run, not part of the tests: the headless program against the local
# application server with a draw every second, for MINUTES (default 30). Writes
# $BUILD/soak/soak.csv, soak.png (resident memory, CPU, per-draw latency per minute)
# and summary.txt. Needs python3 (standard library only).
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
build=${BUILD:-build}
cmake --build "$build" --target appserver veltra_program >/dev/null
BUILD="$build" exec python3 bench/soak.py "$minutes"
