#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each one for SECONDS
# (default 60) over its seeds in tests/fuzz/<name>/. New inputs are kept in
# build-fuzz/corpus/<name>/, an input that breaks a target in build-fuzz/findings/<name>/.
# Stops at the first target with a finding. Usage: scripts/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(json hex decrypt_data channel_reply extract_draw_text draw_table history_file
           newest_draw plan_template settings appserver_request)
fi

scripts/install-fuzz-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWITH_FUZZING=ON -DWITH_GUI=OFF -DWITH_TESTS=OFF -DWITH_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz --target fuzzers

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
summary=()
for name in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$name"
  findings="build-fuzz/findings/$name"
  log="build-fuzz/fuzz-$name.log"
  mkdir -p "$corpus" "$findings"
  echo "fuzz_$name: ${seconds} s"
  # One job at a time; an input running longer than 10 s counts as a finding.
  if ! "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "tests/fuzz/$name" \
      >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz_$name: FINDING, input kept in $findings/ (log: $log)" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  summary+=("fuzz_$name: ${runs:-?} executions in ${seconds} s, no finding")
done
printf '%s\n' "${summary[@]}"
