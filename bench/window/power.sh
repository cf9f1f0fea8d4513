#!/usr/bin/env bash
# What playing costs the device: CPU (percent of one core) and wakeups a second (context
# switches of every thread) of the player and of the sound server, per page, while a
# 128 kbit/s MP3 plays in a private X server at 240x320.
#   bench/window/power.sh [SECONDS] [PLAYER...]   (default 30 s per measurement, build/bin/quavrix)
# Several players (an older build beside this one) are measured in turn, in one run.
# Each page is measured twice: through ALSA "default" into a private PulseAudio daemon
# whose null sink is kept rendering by a silent stream (as a desktop's would be), and
# with no sound device (playback paced by the clock).
# Needs the build and the test and fixtures packages (scripts/setup.sh build test fixtures).
set -euo pipefail
cd "$(dirname "$0")/../.."
secs=${1:-30}
players=("${@:2}")
(( ${#players[@]} )) || players=(build/bin/quavrix)
tmp=$(mktemp -d /tmp/quavrix-power.XXXXXX)
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$tmp"; }
trap cleanup EXIT
mkdir -p "$tmp/music" "$tmp/pulse/runtime" "$tmp/pulse/state" "$tmp/pulse/home"
chmod 700 "$tmp/pulse/runtime"
ffmpeg -loglevel error -f lavfi -i "sine=frequency=330:duration=$((4 * secs + 60))" \
    -f lavfi -i "anoisesrc=d=$((4 * secs + 60)):c=pink:a=0.1" \
    -filter_complex "[0][1]amix=inputs=2,aformat=channel_layouts=stereo" -ar 44100 -b:a 128k "$tmp/music/track.mp3"

# The sound server, as the sound tests start it.
sock="$tmp/pulse/native"
printf 'default-sample-format = s16le\ndefault-sample-rate = 44100\nalternate-sample-rate = 44100\nflat-volumes = no\n' \
    > "$tmp/pulse/daemon.conf"
printf 'autospawn = no\ndefault-server = unix:%s\n' "$sock" > "$tmp/pulse/client.conf"
printf 'load-module module-native-protocol-unix auth-anonymous=1 socket=%s\nload-module module-null-sink sink_name=power rate=44100 channels=2 format=s16le norewinds=1\nset-default-sink power\n' \
    "$sock" > "$tmp/pulse/session.pa"
printf 'pcm.!default {\n type pulse\n server "unix:%s"\n}\nctl.!default {\n type pulse\n server "unix:%s"\n}\n' \
    "$sock" "$sock" > "$tmp/pulse/asoundrc"
export PULSE_RUNTIME_PATH="$tmp/pulse/runtime" PULSE_STATE_PATH="$tmp/pulse/state"
export PULSE_CLIENTCONFIG="$tmp/pulse/client.conf" PULSE_SERVER="unix:$sock"
env HOME="$tmp/pulse/home" PULSE_CONFIG="$tmp/pulse/daemon.conf" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
    pulseaudio -n --file="$tmp/pulse/session.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --realtime=no --high-priority=no --no-cpu-limit --log-target=stderr 2>"$tmp/pulse/log" &
server=$!; pids+=("$server")
for _ in $(seq 100); do [[ -S $sock ]] && break; sleep 0.1; done
# A long latency: the server's own rhythm is then set by the player's stream.
pacat --playback --client-name=power-silence --format=s16le --rate=44100 --channels=2 --latency-msec=2000 \
    < /dev/zero &
pids+=("$!")

Xvfb -displayfd 3 -screen 0 800x700x24 -nolisten tcp 3>"$tmp/display" 2>/dev/null &
pids+=("$!")
for _ in $(seq 50); do [[ -s $tmp/display ]] && break; sleep 0.1; done
export DISPLAY=:$(cat "$tmp/display")

hz=$(getconf CLK_TCK)
# cpu ticks and context switches of every thread of a process
sample() {
    local pid=$1 ticks switches=0
    ticks=$(awk '{print $14 + $15}' "/proc/$pid/stat")
    for t in /proc/"$pid"/task/*/status; do
        switches=$((switches + $(awk '/ctxt_switches/ {s += $2} END {print s + 0}' "$t" 2>/dev/null || echo 0)))
    done
    echo "$ticks $switches"
}
threads() { # thread name, context switches and cpu ticks, one line each
    for t in /proc/"$1"/task/*; do
        echo "$(basename "$t") $(tr ' ' _ < "$t/comm") $(awk '/ctxt_switches/ {s += $2} END {print s + 0}' "$t/status")" \
            "$(sed 's/.*) //' "$t/stat" | awk '{print $12 + $13}')"
    done | sort
}
measure() { # label, player pid
    local label=$1 player=$2 p0 p1 s0 s1 t0 t1
    threads "$player" > "$tmp/threads0"
    p0=($(sample "$player")); s0=($(sample "$server")); t0=$(date +%s.%N)
    sleep "$secs"
    p1=($(sample "$player")); s1=($(sample "$server")); t1=$(date +%s.%N)
    threads "$player" > "$tmp/threads1"
    awk -v l="$label" -v hz="$hz" -v t0="$t0" -v t1="$t1" \
        -v pc=$((p1[0] - p0[0])) -v pw=$((p1[1] - p0[1])) -v sc=$((s1[0] - s0[0])) -v sw=$((s1[1] - s0[1])) \
        'BEGIN { d = t1 - t0; printf "%-34s player %5.2f %% %6.0f wakeups/s   server %5.2f %% %6.0f wakeups/s\n", l, 100 * pc / hz / d, pw / d, 100 * sc / hz / d, sw / d }'
    # per thread: wakeups a second / percent of a core
    join "$tmp/threads0" "$tmp/threads1" | awk -v s="$secs" -v hz="$hz" \
        '{ printf "    %s %.0f/%.2f%%", $2, ($6 - $3) / s, 100 * ($7 - $4) / hz / s } END { print "" }'
}
run() { # output ("alsa" or "clock"), player binary
    local out=$1 bin=$2 cfg="$tmp/$1"
    rm -rf "$cfg"
    mkdir -p "$cfg/config/Quavrix" "$cfg/runtime"
    chmod 700 "$cfg/runtime"
    printf '[Analyzer]\nvis=1\n' > "$cfg/config/Quavrix/Quavrix.conf"
    local dev=()
    [[ $out == clock ]] && dev=(QUAVRIX_DSP="$tmp/none/dsp" QUAVRIX_MIXER="$tmp/none/mixer")
    env XDG_CONFIG_HOME="$cfg/config" XDG_DATA_HOME="$cfg/data" XDG_RUNTIME_DIR="$cfg/runtime" HOME="$cfg" \
        ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$tmp/pulse/asoundrc" QUAVRIX_INSTANCE="power-$out" \
        "${dev[@]}" "$bin" --display 240x320 "$tmp/music/track.mp3" 2>/dev/null &
    local player=$!; pids+=("$player")
    sleep 4
    # A file named on the command line plays on the Player page.
    measure "Player page, $out" "$player"
    # The Library tab: the second of three across the top; from the Player page, whose tab
    # shows its label, the first two show icons only.
    local win
    win=$(xdotool search --sync --pid "$player" --onlyvisible | head -1)
    # Without a sound device a notice says so first: Return closes it.
    [[ $out == clock ]] && xdotool key --window "$win" Return && sleep 0.5
    xdotool mousemove --window "$win" 42 12 click 1
    sleep 1
    measure "Library page, $out" "$player"
    kill "$player"; wait "$player" 2>/dev/null || true
}
echo "$(date -I) $(git rev-parse --short HEAD), ${secs} s each, 240x320, analyzer on"
pre=($(sample "$server")); sleep "$secs"; post=($(sample "$server"))
awk -v hz="$hz" -v s="$secs" -v c=$((post[0] - pre[0])) -v w=$((post[1] - pre[1])) \
    'BEGIN { printf "%-34s                                  server %5.2f %% %6.0f wakeups/s\n", "silent stream alone", 100 * c / hz / s, w / s }'
for bin in "${players[@]}"; do
    (( ${#players[@]} > 1 )) && echo "$bin"
    for out in alsa clock; do run "$out" "$bin"; done
done
