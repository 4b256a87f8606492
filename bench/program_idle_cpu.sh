#!/usr/bin/env bash
# CPU time the program uses while idle: the headless program against the local
# application server, between two draws, for SECONDS (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${BUILD:-build}
work=$(mktemp -d)
trap 'kill $server $program 2>/dev/null || true; rm -rf "$work"' EXIT
# A day whose next draw is far off: one draw every hour.
"$build"/appserver/appserver --main-port 0 --fallback-port 0 --interval 3600 >"$work/server.out" 2>&1 &
server=$!
for _ in $(seq 1 100); do grep -q '^listening' "$work/server.out" && break; sleep 0.1; done
url=$(sed -n 's/^listening main=\([^ ]*\) .*/\1/p' "$work/server.out")
(cd "$work" && exec "$OLDPWD/$build/program/Veltra吉林快3平刷和值大小" --headless --server "$url" >/dev/null 2>&1) &
program=$!
sleep 3  # start-up done
ticks() { awk '{print $14 + $15}' /proc/"$program"/stat; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "idle CPU: %.2f s in %d s = %.3f %% of one core\n", t / hz, s, 100 * t / hz / s }'
