#!/usr/bin/env bash
# CPU of the whole player process while it plays a track with the analyzer shown, at
# 480x640 in a private X server, as a percentage of one core:
#   bench/window/playcpu.sh [SECONDS] [mp3|ogg|m4a|flac|opus]    (default 30 s of MP3)
# Needs the build, the bench and fixtures packages (scripts/setup.sh build test fixtures).
set -euo pipefail
cd "$(dirname "$0")/../.."
secs=${1:-30}
format=${2:-mp3}
tmp=$(mktemp -d)
trap 'kill $player $xvfb 2>/dev/null || true; rm -rf "$tmp"' EXIT
mkdir -p "$tmp/config/Quavrix" "$tmp/music" "$tmp/runtime"
chmod 700 "$tmp/runtime"
printf '[Analyzer]\nvis=1\npeaks=1\n' > "$tmp/config/Quavrix/Quavrix.conf"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=330:duration=$((secs + 20))" \
    -f lavfi -i "anoisesrc=d=$((secs + 20)):c=pink:a=0.1" \
    -filter_complex "[0][1]amix=inputs=2,aformat=channel_layouts=stereo" -b:a 128k "$tmp/music/track.$format"

Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [[ -s $tmp/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")
# No sound device: playback paced by the clock, as on a desktop without sound.
env XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/runtime" HOME="$tmp" \
    QUAVRIX_DSP="$tmp/none/dsp" QUAVRIX_MIXER="$tmp/none/mixer" QUAVRIX_INSTANCE="cpu-$$" \
    build/bin/quavrix --display 480x640 "$tmp/music/track.$format" 2>/dev/null &
player=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$player/stat"; }
hz=$(getconf CLK_TCK)
t0=$(ticks); s0=$(date +%s.%N)
sleep "$secs"
t1=$(ticks); s1=$(date +%s.%N)
awk -v t="$((t1 - t0))" -v hz="$hz" -v s0="$s0" -v s1="$s1" \
    -v f="$format" 'BEGIN { printf "player CPU while playing (%s, analyzer shown, 480x640): %.2f %% of one core over %.1f s\n", f, 100 * t / hz / (s1 - s0), s1 - s0 }'
