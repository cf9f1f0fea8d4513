#!/usr/bin/env bash
# Memory over a long run of random commands, as a user and a desktop give them: keys
# (Next, Prev, Play, volume), tab switches, and MPRIS calls on a private session bus
# (Next, Previous, PlayPause, Seek, OpenUri of good and damaged files, property reads).
# Prints the player's RSS each minute and the growth a minute after the first minutes.
#   bench/window/soak.sh [MINUTES] [COMMANDS_A_SECOND]    (default 10 minutes, 5 a second)
#   QUAVRIX_SOAK_WRAP="heaptrack -o /tmp/soak" bench/window/soak.sh 5   (a heap profile; the
#   player is then killed at the end, so what it still holds counts as leaked: compare two
#   lengths with heaptrack_print -f long.zst -d short.zst)
# Needs the build and the test and fixtures packages (scripts/setup.sh build test fixtures).
set -euo pipefail
cd "$(dirname "$0")/../.."
minutes=${1:-10}
rate=${2:-5}
tmp=$(mktemp -d /tmp/quavrix-soak.XXXXXX)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
mkdir -p "$tmp/music" "$tmp/config/Quavrix" "$tmp/runtime"
chmod 700 "$tmp/runtime"
for i in 1 2 3 4 5 6; do
    ffmpeg -loglevel error -f lavfi -i "sine=frequency=$((200 + 70 * i)):duration=25" \
        -metadata title="Track $i" -metadata artist="Artist $((i % 3))" -metadata album="Album $((i % 2))" \
        -ac 2 -ar 44100 -b:a 128k "$tmp/music/track$i.mp3"
done
ffmpeg -loglevel error -f lavfi -i "sine=frequency=440:duration=25" -ac 2 -c:a libvorbis "$tmp/music/tone.ogg"
# Damaged files: a cut MP3, noise named .mp3, an MP4 header with nothing behind it.
head -c 7000 "$tmp/music/track1.mp3" > "$tmp/music/cut.mp3"
head -c 20000 /dev/urandom > "$tmp/music/noise.mp3"
printf '\0\0\0\x20ftypM4A \0\0\0\0M4A mp42isom\0\0\0\0' > "$tmp/music/empty.m4a"
printf '[Analyzer]\nvis=1\n' > "$tmp/config/Quavrix/Quavrix.conf"

Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=("$!")
for _ in $(seq 50); do [[ -s $tmp/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")
dbus-daemon --session --nofork --print-address=3 3>"$tmp/bus" &
pids+=("$!")
for _ in $(seq 50); do [[ -s $tmp/bus ]] && break; sleep 0.1; done
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$tmp/bus")

# No sound device: paced by the clock, so the run does not depend on a sound server.
env XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/runtime" HOME="$tmp" \
    QUAVRIX_DSP="$tmp/none/dsp" QUAVRIX_MIXER="$tmp/none/mixer" QUAVRIX_INSTANCE="soak-$$" \
    QUAVRIX_DOCUMENTS="$tmp/music" ${QUAVRIX_SOAK_WRAP:-} build/bin/quavrix --display 240x320 2>/dev/null &
pids+=("$!")
win=$(xdotool search --sync --onlyvisible --name . | tail -1)
sleep 2
player=$(pgrep -n -f 'build/bin/quavrix --display 240x320')
# The notice that there is no sound device.
xdotool key --window "$win" Return
sleep 0.5

mpris() { # method-or-property [args...]
    local dest=org.mpris.MediaPlayer2.quavrix path=/org/mpris/MediaPlayer2
    case $1 in
    get) dbus-send --session --print-reply=literal --dest=$dest $path org.freedesktop.DBus.Properties.Get \
             string:org.mpris.MediaPlayer2.Player "string:$2" ;;
    *) dbus-send --session --type=method_call --dest=$dest $path "org.mpris.MediaPlayer2.Player.$1" "${@:2}" ;;
    esac
}
files=("$tmp"/music/*)
command() {
    case $((RANDOM % 14)) in
    0) xdotool key --window "$win" Right ;;
    1) xdotool key --window "$win" Left ;;
    2) xdotool key --window "$win" space ;;
    3) xdotool key --window "$win" Up Down ;;
    # Three points across the tab bar: which tab each hits depends on which one is
    # current (it shows its label, the others icons only at this width).
    4) xdotool mousemove --window "$win" 18 12 click 1 ;;
    5) xdotool mousemove --window "$win" 42 12 click 1 ;;
    6) xdotool mousemove --window "$win" 128 12 click 1 ;;
    7) mpris Next ;;
    8) mpris Previous ;;
    9) mpris PlayPause ;;
    10) mpris Seek int64:$(((RANDOM % 20 - 10) * 1000000)) ;;
    11) mpris OpenUri "string:file://${files[RANDOM % ${#files[@]}]}" ;;
    12) mpris get Metadata ;;
    13) mpris get Position ;;
    esac >/dev/null 2>&1 || true
}
rss() { awk '/VmRSS/ {print $2}' "/proc/$player/status"; }
# Where the resident memory is: the malloc heap, other anonymous mappings (thread arenas,
# stacks, large allocations), and mapped files (libraries, fonts, caches).
parts() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { kind = ($6 == "[heap]") ? "heap" : ($6 == "" || $6 ~ /^\[/) ? "anon" : "file" }
         /^Rss:/ { kb[kind] += $2 }
         END { printf "heap %d, other anonymous %d, files %d", kb["heap"], kb["anon"], kb["file"] }' "/proc/$player/smaps"
}
echo "$(date -I) $(git rev-parse --short HEAD): $minutes minutes, $rate commands a second, 240x320, no sound device"
start=$(date +%s)
sent=0
declare -a kb
kb[0]=$(rss)
echo "minute 0: RSS $((kb[0])) KB ($(parts))"
for ((m = 1; m <= minutes; m++)); do
    while (( $(date +%s) < start + 60 * m )); do
        command
        sent=$((sent + 1))
        sleep "$(awk -v r="$rate" 'BEGIN { printf "%.3f", 1 / r }')"
    done
    kill -0 "$player" 2>/dev/null || { echo "the player ended after $sent commands"; exit 1; }
    kb[m]=$(rss)
    echo "minute $m: RSS ${kb[m]} KB ($(parts); $(ls /proc/$player/task | wc -l) threads; $sent commands)"
done
[[ -n ${QUAVRIX_SOAK_WRAP:-} ]] && kill -KILL "$player"
# Growth from the third minute on (the first fill caches, fonts and the library).
from=$(( minutes > 4 ? 2 : 0 ))
awk -v a="${kb[from]}" -v b="${kb[minutes]}" -v n=$((minutes - from)) -v c="$sent" -v f="$from" \
    'BEGIN { printf "growth after minute %d: %+.1f KB a minute (%d commands in all)\n", f, (b - a) / n, c }'
