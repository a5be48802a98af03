#!/usr/bin/env bash
# Installs what is missing, builds Vantu and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTU_BUILD_TESTS=OFF -DVANTU_BUILD_BENCH=OFF >/dev/null
cmake --build build --target vantu

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Vantu on a virtual X display (Xvfb), where it cannot be seen." >&2
    exec xvfb-run -a build/bin/vantu
fi
exec build/bin/vantu
