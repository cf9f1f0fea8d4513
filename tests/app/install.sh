#!/usr/bin/env bash
# cmake --install into a fresh prefix gives a tree that works on its own: the desktop entry
# validates, and the installed player (with nothing of the build tree in its environment)
# plays an MP3 and an AAC file exactly as the installed quavrix-decode decodes them.
# Usage: install.sh BUILD_DIR TEST_DATA_DIR
set -euo pipefail
build=$1 data=$2
tmp=$(mktemp -d)
player=""
trap '[[ -n $player ]] && kill "$player" 2>/dev/null; rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/quavrix bin/quavrix-decode bin/quavrix-qcop libexec/quavrix/aacdecoder; do
    [[ -x $prefix/$f ]] || { echo "FAIL: $f is not installed"; exit 1; }
done
for f in share/applications/quavrix.desktop share/icons/hicolor/scalable/apps/quavrix.svg \
         share/quavrix/pics/Quavrix/play.png share/quavrix/pics144/Quavrix/play.png; do
    [[ -f $prefix/$f ]] || { echo "FAIL: $f is not installed"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/quavrix.desktop"
# Source names may appear (debug and sanitizer builds); the build's pictures and programs,
# which the player would look for at run time, must not.
if grep -aq -e "$build/share" -e "$build/bin" "$prefix/bin/quavrix"; then
    echo "FAIL: the installed player looks into the build tree"; exit 1
fi

mkdir -p "$tmp/home" "$tmp/runtime" && chmod 700 "$tmp/runtime"
# Nothing of the build tree or the caller's session: env execs the program, so $! is the player.
run=(env -i PATH=/usr/bin:/bin HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config"
     XDG_DATA_HOME="$tmp/home/data" XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=offscreen
     QUAVRIX_MIXER="$tmp/no/mixer" QUAVRIX_DSP="$tmp/played.raw")
for fixture in mp3/stereo128.mp3 mp4/stereo-tagged.m4a flac/stereo16.flac opus/stereo.opus; do
    file=$tmp/$(basename "$fixture")
    cp "$data/$fixture" "$file"
    "${run[@]}" "$prefix/bin/quavrix-decode" -o "$tmp/expected.raw" "$file" >/dev/null
    expected=$(stat -c %s "$tmp/expected.raw")
    (( expected > 0 )) || { echo "FAIL: the installed quavrix-decode gave nothing for $fixture"; exit 1; }
    rm -f "$tmp/played.raw"
    "${run[@]}" QUAVRIX_INSTANCE="$tmp/runtime/instance" "$prefix/bin/quavrix" "$file" >/dev/null 2>&1 &
    player=$!
    for _ in $(seq 200); do
        [[ -f $tmp/played.raw && $(stat -c %s "$tmp/played.raw") -ge $expected ]] && break
        sleep 0.1
    done
    kill "$player" 2>/dev/null || { echo "FAIL: the installed player ended by itself"; exit 1; }
    wait "$player" 2>/dev/null || true
    player=""
    cmp "$tmp/expected.raw" "$tmp/played.raw" || { echo "FAIL: the installed player played $fixture differently"; exit 1; }
    echo "installed player plays $fixture: $expected bytes as decoded"
done
echo "1 passed, 0 failed"
