#!/usr/bin/env bash
# Load figures of the local application server on loopback, beside nginx serving a
# static file of the same size, same tool, same concurrency, no keep-alive:
#   1. newest-period reads per second (ab against /newphase.php),
#   2. nginx static-file reads per second (ab, the reference),
#   3. encrypted calls per second (handshake + "newestdraw", our load client).
# Targets: 1 >= 0.5 x 2, 3 >= 0.4 x 1, no failed request. Exits non-zero otherwise.
#
#   bench/appserver_load.sh [BUILD_DIR]       (default: build)
#   REQUESTS=20000 CALLS=10000 CONCURRENCY=50 bench/appserver_load.sh build-appserver
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
requests=${REQUESTS:-20000}
calls=${CALLS:-10000}
concurrency=${CONCURRENCY:-50}

scripts/bench-deps.sh
cmake --build "$build" --target appserver appserver_load_client >/dev/null

work=$(mktemp -d)
chmod 755 "$work"
server_pid=""
nginx_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The application server on free ports; its first line names them.
"$build/appserver/appserver" --main-port 0 --fallback-port 0 >"$work/appserver.out" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  grep -q '^listening ' "$work/appserver.out" 2>/dev/null && break
  sleep 0.1
done
base=$(sed -n 's|^listening main=\(http://[^/]*\)/.*|\1|p' "$work/appserver.out")
[ -n "$base" ] || { echo "appserver did not start:"; cat "$work/appserver.out"; exit 1; }

# nginx on a free port, serving a file as long as the newest-period text.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/www"
ab -n 1 -c 1 "$base/newphase.php" >"$work/probe.txt" 2>&1
length=$(sed -n 's/^Document Length: *\([0-9]*\) bytes/\1/p' "$work/probe.txt")
head -c "$length" /dev/zero | tr '\0' '7' >"$work/www/phase.txt"
chmod -R a+rX "$work/www"
cat >"$work/nginx.conf" <<CONF
daemon off;
worker_processes auto;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $work/body;
  proxy_temp_path $work/proxy;
  fastcgi_temp_path $work/fastcgi;
  uwsgi_temp_path $work/uwsgi;
  scgi_temp_path $work/scgi;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
  }
}
CONF
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
for _ in $(seq 1 100); do
  ab -n 1 -c 1 "http://127.0.0.1:$port/phase.txt" >/dev/null 2>&1 && break
  sleep 0.1
done

# ab prints "Requests per second", "Failed requests" and, when any, "Non-2xx responses".
run_ab() {
  local url=$1 out=$2
  ab -n "$requests" -c "$concurrency" "$url" >"$out" 2>&1 || true
  local rate failed non2xx
  rate=$(sed -n 's/^Requests per second: *\([0-9.]*\).*/\1/p' "$out")
  failed=$(sed -n 's/^Failed requests: *\([0-9]*\).*/\1/p' "$out")
  non2xx=$(sed -n 's/^Non-2xx responses: *\([0-9]*\).*/\1/p' "$out")
  echo "${rate:-0} $(( ${failed:-1} + ${non2xx:-0} ))"
}

# Every request here is a new connection, each leaving a TIME_WAIT socket for a
# minute; loopback's ephemeral ports run short when tens of thousands pile up, and
# connections then stall. Each phase starts once they have drained (at most 90 s).
settle() {
  for _ in $(seq 1 90); do
    [ "$(ss -tan state time-wait | wc -l)" -lt 1000 ] && return
    sleep 1
  done
}

# Warm both up, then measure.
ab -n 1000 -c "$concurrency" "$base/newphase.php" >/dev/null 2>&1 || true
ab -n 1000 -c "$concurrency" "http://127.0.0.1:$port/phase.txt" >/dev/null 2>&1 || true

settle
read -r period_rate period_failed < <(run_ab "$base/newphase.php" "$work/ab-appserver.txt")
settle
read -r nginx_rate nginx_failed < <(run_ab "http://127.0.0.1:$port/phase.txt" "$work/ab-nginx.txt")
settle
call_line=$("$build/bench/appserver_load_client" "$base" --requests "$calls" \
  --concurrency "$concurrency" || true)
call_rate=$(sed -n 's/.*calls\/s \([0-9.]*\).*/\1/p' <<<"$call_line")
call_failed=$(sed -n 's/.*failed \([0-9]*\).*/\1/p' <<<"$call_line")

echo "cores: $(nproc)  concurrency: $concurrency  keep-alive: off  body: $length bytes"
printf '%-44s %10s req/s  failed %s  (%s requests, ab)\n' "newest-period reads (appserver)" \
  "$period_rate" "$period_failed" "$requests"
printf '%-44s %10s req/s  failed %s  (%s requests, ab)\n' "static file of the same size (nginx)" \
  "$nginx_rate" "$nginx_failed" "$requests"
printf '%-44s %10s calls/s failed %s  (%s calls = %s requests)\n' \
  "encrypted calls: handshake + newestdraw" "${call_rate:-0}" "${call_failed:-?}" "$calls" \
  "$((calls * 2))"

ok=1
read_ratio=$(awk -v a="$period_rate" -v b="$nginx_rate" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
call_ratio=$(awk -v a="${call_rate:-0}" -v b="$period_rate" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')
echo "newest-period reads / nginx: $read_ratio (target >= 0.5)"
echo "encrypted calls / newest-period reads: $call_ratio (target >= 0.4)"
awk -v r="$read_ratio" 'BEGIN { exit !(r >= 0.5) }' || ok=0
awk -v r="$call_ratio" 'BEGIN { exit !(r >= 0.4) }' || ok=0
[ "$period_failed" = 0 ] && [ "$nginx_failed" = 0 ] && [ "${call_failed:-1}" = 0 ] || ok=0
if [ "$ok" = 1 ]; then echo "targets met"; else echo "TARGETS MISSED"; exit 1; fi
