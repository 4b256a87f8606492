#!/usr/bin/env bash
# Builds everything, starts the local application server in the background (a fast
# demo day: a draw every 60 seconds), runs the program and stops the server when the
# program ends. Extra arguments go to the program (e.g. --headless).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target appserver veltra_program plan-replay

log=$(mktemp)
server_pid=""
cleanup() {
    if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; wait "$server_pid" 2>/dev/null || true; fi
    rm -f "$log"
}
trap cleanup EXIT INT TERM

build/appserver/appserver --interval 60 >"$log" 2>&1 &
server_pid=$!
# Wait for its first line: both ports listen once it is printed.
for _ in $(seq 1 100); do
    if grep -q '^listening ' "$log"; then break; fi
    if ! kill -0 "$server_pid" 2>/dev/null; then
        echo "The local application server did not start (is another one already running?):" >&2
        cat "$log" >&2
        server_pid=""
        break
    fi
    sleep 0.1
done
[ -n "$server_pid" ] && head -n 1 "$log"

cd build/program
./Veltra吉林快3平刷和值大小 "$@"
