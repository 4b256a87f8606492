#!/usr/bin/env bash
# Installs every package the build and the tests need, from Debian's archive.
# Idempotent: when everything is present it prints nothing and changes nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  nlohmann-json3-dev libpcre2-dev libssl-dev libcurl4-openssl-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
if [ "${WITH_GUI:-ON}" != "OFF" ]; then
  packages+=(qt6-base-dev libfontconfig-dev xvfb xauth x11-utils fonts-wqy-zenhei imagemagick)
fi

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
