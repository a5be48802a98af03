#!/usr/bin/env bash
# Installs what is missing, builds Vantu with its tests and runs the whole suite: once in a normal
# build, then once more under AddressSanitizer and UndefinedBehaviorSanitizer.
# VANTU_SKIP_SANITIZERS=1 runs the normal build only.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc)

# A unity build compiles several files together, which halves the time a clean build takes.
run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8 "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

run_suite build -DCMAKE_BUILD_TYPE=Release

if [ "${VANTU_SKIP_SANITIZERS:-0}" != "1" ]; then
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    run_suite build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTU_SANITIZE=ON -DVANTU_BUILD_BENCH=OFF
fi
