#!/usr/bin/env bash
# Installs what is missing, builds Vantu and starts it. With --build-only it stops after the build.
set -euo pipefail
cd "$(dirname "$0")/.."

build_only=0
for argument in "$@"; do
    case $argument in
    --build-only) build_only=1 ;;
    *)
        echo "usage: bash scripts/run.sh [--build-only]" >&2
        exit 2
        ;;
    esac
done

bash scripts/setup.sh
# The same configuration as the test script's first build, so that after the tests only the link is left.
# A unity build compiles several files together, which halves the time a clean build takes.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8 \
    >/dev/null
cmake --build build --target vantu
[ "$build_only" = 0 ] || exit 0

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Vantu on a virtual X display (Xvfb), where it cannot be seen." >&2
    exec xvfb-run -a build/bin/vantu
fi
exec build/bin/vantu
