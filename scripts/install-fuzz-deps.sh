#!/usr/bin/env bash
# Installs what the fuzz targets need beyond the normal build, from Debian's archive:
# clang with its libFuzzer and sanitizer runtimes.
# Idempotent: when everything is present it prints nothing and changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
WITH_GUI=OFF scripts/install-deps.sh

packages=(clang libclang-rt-14-dev)
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
