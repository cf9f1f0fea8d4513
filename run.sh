#!/usr/bin/env bash
# Sets up what is missing, builds Quavrix in Release and starts it: ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target player
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running on Qt's offscreen platform." >&2
    export QT_QPA_PLATFORM=offscreen
fi
exec build/bin/quavrix "$@"
