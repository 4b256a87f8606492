#!/usr/bin/env bash
# Installs the tools the server load benchmark needs (bench/appserver_load.sh): the
# load generator ab (apache2-utils) and nginx as the reference static server.
# Benchmarks only; the build and the tests do not need them.
set -euo pipefail

cd "$(dirname "$0")/.."
scripts/apt-install.sh apache2-utils nginx-light
# Debian starts the packaged nginx service on install; the benchmark runs its own.
if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet nginx 2>/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo systemctl stop nginx || true
fi
