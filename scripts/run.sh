#!/usr/bin/env bash
# Builds the program and shows the plan rebuilt from the bundled sample history.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DWITH_GUI=ON >/dev/null
cmake --build build --target plan-replay >/dev/null
build/tools/plan-replay tools/data/sample-history.txt "$@"
echo
