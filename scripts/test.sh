#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DWITH_GUI=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"
