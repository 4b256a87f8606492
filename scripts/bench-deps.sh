#!/usr/bin/env bash
# Installs the tools the server load benchmark needs (bench/appserver_load.sh): the
# load generator ab (apache2-utils) and nginx as the reference static server.
# Benchmarks only; the build and the tests do not need them.
set -euo pipefail

packages=(apache2-utils nginx-light)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# Debian starts the packaged nginx service on install; the benchmark runs its own.
if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet nginx 2>/dev/null; then
  $sudo systemctl stop nginx || true
fi
