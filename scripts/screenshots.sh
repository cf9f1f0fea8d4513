#!/usr/bin/env bash
# Renders the player's three pages at 240x320 and 480x640 with the test fixtures and copies
# them to docs/ for the README: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target tst_screens
(cd build && QT_QPA_PLATFORM=offscreen ctest -R '^tst_screens$' --output-on-failure >/dev/null)
mkdir -p docs
for page in player playlist medialibrary; do
    for size in 240x320 480x640; do
        cp "build/screenshots/$page-$size.png" "docs/$page-$size.png"
    done
done
ls -l docs/*.png
