#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a number of inputs (default
# 1,000,000) under AddressSanitizer and UndefinedBehaviorSanitizer. Any crash or hang stops it with
# the failing input saved in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}

bash scripts/setup.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DVANTU_FUZZ=ON -DVANTU_BUILD_TESTS=OFF -DVANTU_BUILD_BENCH=OFF >/dev/null
targets=$(sed -n 's/^vantu_fuzz_target(\([A-Za-z]*\) .*/\1/p' fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build build-fuzz --target $targets
mkdir -p build-fuzz/findings
for target in $targets; do
    echo "== $target: $runs inputs"
    mkdir -p "build-fuzz/corpus/$target"
    build-fuzz/fuzz/"$target" -runs="$runs" -timeout=10 -max_len=4096 \
        -artifact_prefix="build-fuzz/findings/$target-" "build-fuzz/corpus/$target"
done
