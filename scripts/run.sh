#!/usr/bin/env bash
# Installs what is missing, builds Mivo and starts it. Without a display it
# starts it on a virtual X server and says so.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIVO_BUILD_TESTS=OFF
cmake --build build-release -j "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: running Mivo on a virtual X server (xvfb-run); stop it with Ctrl+C."
    echo "On a headless machine you can also run it with QT_QPA_PLATFORM=offscreen."
    exec xvfb-run -a build-release/src/gui/mivo "$@"
fi
exec build-release/src/gui/mivo "$@"
