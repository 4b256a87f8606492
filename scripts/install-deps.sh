#!/usr/bin/env bash
# Installs every package the build and the tests need, from Debian's archive.
# Idempotent: when everything is present it prints nothing and changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  nlohmann-json3-dev libpcre2-dev libssl-dev libcurl4-openssl-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev
)
if [ "${WITH_GUI:-ON}" != "OFF" ]; then
  packages+=(qt6-base-dev libfontconfig-dev xvfb xauth x11-utils fonts-wqy-zenhei imagemagick)
fi
scripts/apt-install.sh "${packages[@]}"
