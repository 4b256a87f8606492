#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DWITH_GUI=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j "$(nproc)"

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan,
# no desktop window): any finding fails the run.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWITH_SANITIZERS=ON \
  -DWITH_GUI=OFF -DWITH_BENCHMARKS=OFF >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
