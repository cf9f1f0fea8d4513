#!/usr/bin/env bash
# MP3 decoding speed on recorded music rather than test signals: three orchestral pieces
# from a Debian music package, decoded and encoded again with LAME at 128 and 320 kbit/s
# CBR and -V2, then build/bin/quavrix-mp3bench on every file (speed against libmpg123 and
# libmad in one process, accuracy against libmpg123).
#   bench/mp3/realmusic.sh [ROUNDS]        (default 3)
# Needs the build and the bench and fixtures packages (scripts/setup.sh build bench fixtures).
# The package is downloaded once into build/bench-music/ (about 150 MB).
set -euo pipefail
cd "$(dirname "$0")/../.."
rounds=${1:-3}
package=wesnoth-1.16-music
pieces=(battle knolls the_dangerous_symphony)
cache=build/bench-music
mkdir -p "$cache"
if ! ls "$cache"/*.deb >/dev/null 2>&1; then
    (cd "$cache" && apt-get download "$package")
fi
if [[ ! -d $cache/x ]]; then
    dpkg-deb -x "$cache"/*.deb "$cache/x"
fi
files=()
for p in "${pieces[@]}"; do
    src=$(find "$cache/x" -name "$p.ogg" | head -1)
    [[ -n $src ]] || { echo "realmusic: $p.ogg is not in $package" >&2; exit 1; }
    [[ -f $cache/$p.wav ]] || ffmpeg -loglevel error -i "$src" -ar 44100 -ac 2 "$cache/$p.wav"
    for mode in 128 320 V2; do
        out=$cache/$p-$mode.mp3
        if [[ ! -f $out ]]; then
            if [[ $mode == V2 ]]; then lame --quiet -V 2 "$cache/$p.wav" "$out"
            else lame --quiet -b "$mode" "$cache/$p.wav" "$out"; fi
        fi
        files+=("$out")
    done
done
build/bin/quavrix-mp3bench --rounds "$rounds" "${files[@]}"
