#!/usr/bin/env bash
# Installs what is missing, checks that the folders of src/ include one another in one direction only,
# builds Vantu with its benchmarks as scripts/run.sh builds it, checks its installation and its package,
# and builds and runs the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer. That build
# compiles the program's files one by one, as the install commands do, with every header of src/
# compiled on its own (first in its own .cpp, or alone in vantu_header_check), so that a missing include
# cannot hide; the test files are compiled together.
# VANTU_SKIP_SANITIZERS=1 builds and runs the suite in the optimised build instead, which is quicker.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/check-layers.sh
jobs=$(nproc)

run_suite() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" -j "$jobs" --output-on-failure
}

release=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8 -DVANTU_BUILD_BENCH=ON)

if [ "${VANTU_SKIP_SANITIZERS:-0}" = "1" ]; then
    run_suite build -DVANTU_BUILD_TESTS=ON "${release[@]}"
    bash scripts/run.sh --build-only
    exit 0
fi

# The program in the configuration scripts/run.sh builds it, with the benchmarks, and the checks of its
# installation and its Debian package. The test programs are built and run once, under the sanitizers
# below, which see more than this build would; building and running them here as well took a fifth of
# the script's time.
run_suite build -DVANTU_BUILD_TESTS=OFF "${release[@]}"
bash scripts/run.sh --build-only

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Line tables are all the sanitizers' reports need, and they cost less to build than full debug
# information.
sanitized=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DCMAKE_UNITY_BUILD=OFF -DVANTU_SANITIZE=ON
    -DVANTU_BUILD_BENCH=OFF)
cmake -S . -B build-sanitize -G Ninja "${sanitized[@]}" >/dev/null
cmake --build build-sanitize -j "$jobs" --target vantu_header_check
run_suite build-sanitize -DVANTU_BUILD_TESTS=ON "${sanitized[@]}"
