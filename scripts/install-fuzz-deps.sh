#!/usr/bin/env bash
# Installs what the fuzz targets need beyond the normal build, from Debian's archive:
# clang with its libFuzzer and sanitizer runtimes.
# Idempotent: when everything is present it prints nothing and changes nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
WITH_GUI=OFF scripts/install-deps.sh
scripts/apt-install.sh clang libclang-rt-14-dev
