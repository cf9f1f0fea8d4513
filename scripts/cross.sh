#!/usr/bin/env bash
# Builds the player, its tools and its tests for an ARM handheld and runs the suite there,
# under qemu user emulation:
#   scripts/cross.sh arm64|armhf      (./test.sh --cross arm64|armhf does the same)
# Installs what is missing on Debian 12: the cross toolchain, the target's libraries
# through multiarch, qemu. The build goes to build-<arch>/; an installable tree for the
# device to install-<arch>/.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-}
case $arch in
    arm64) triplet=aarch64-linux-gnu ;;
    armhf) triplet=arm-linux-gnueabihf ;;
    *) echo "usage: scripts/cross.sh arm64|armhf" >&2; exit 2 ;;
esac

# The target's development packages: the build section's libraries, and the reference
# decoder the tests compare with (libmad cannot be installed for two architectures).
libs=()
for p in $(scripts/setup.sh --list build); do [[ $p == *-dev ]] && libs+=("$p:$arch"); done
if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo=sudo
    $sudo dpkg --add-architecture "$arch" # setup.sh's apt-get update then reads its lists
fi
scripts/setup.sh build
scripts/setup.sh --packages crossbuild-essential-"$arch" qemu-user-static dbus-daemon "${libs[@]}" "libmpg123-dev:$arch"

dir=build-$arch
start=$(date +%s)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUAVRIX_CROSS="$arch" "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/debian-cross.cmake" -DQUAVRIX_FUZZ=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)" --target tests quavrix-mp3bench
echo "cross: $arch built in $(( $(date +%s) - start )) s"
file "$dir/bin/quavrix" | sed 's/, BuildID.*//'

# Programs the tests start themselves (the AAC decoder program, the install test's runs)
# need the kernel to hand target binaries to qemu: registered here when it is not yet.
qemu=qemu-${triplet%%-*}
[[ $arch == armhf ]] && qemu=qemu-arm
binfmt=/proc/sys/fs/binfmt_misc
[[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
[[ -e $binfmt/$qemu || ! -w $binfmt/register ]] || cat "/usr/lib/binfmt.d/$qemu.conf" > "$binfmt/register" 2>/dev/null || true
# What user emulation cannot give: a sound server for the sound tests, and an X server
# for the end-to-end test. And qemu 7 refuses the clone() that QProcess starts programs
# with ("fork failure: Invalid argument"), so tests that start programs of their own
# through it (dbus-daemon, a second player, the reference decoders) cannot run; the
# decoders are compared with the host's build below instead.
skipped=(tst_soundout tst_pulseharness tst_endtoend tst_desktop tst_qpeapplication)
if [[ ! -e $binfmt/$qemu ]]; then
    echo "cross: the kernel does not start $arch programs through qemu here (binfmt_misc): the tests that start programs of their own are skipped" >&2
    skipped+=(install tst_mp4decoder)
fi
echo "cross: skipped under emulation: ${skipped[*]}"
export QT_QPA_PLATFORM=offscreen QUAVRIX_EMULATED=1
status=0
(cd "$dir" && ctest --output-on-failure -j "$(nproc)" --timeout 900 -E "^($(IFS='|'; echo "${skipped[*]}"))\$") || status=1

# Every decoder gives the same PCM here as on the host: sample for sample where it computes
# in integers (the MP3 decoder's plain path, which is what ARM runs, Tremor, FLAC), within
# a step of 16 bits where it computes in floating point (FAAD2, Opus).
host=build/bin/quavrix-decode
if [[ ! -x $host ]]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build --target quavrix-decode aacdecoder
fi
maxdiff() { paste <(od -An -v -td2 -w2 "$1") <(od -An -v -td2 -w2 "$2") | awk '{ d = $1 - $2; if (d < 0) d = -d; if (d > m) m = d } END { print m + 0 }'; }
exact=0 close=0 differ=0
for f in tests/data/{mp3,ogg,mp4,flac,opus}/*.{mp3,ogg,m4a,flac,oga,opus}; do
    [[ -f $f ]] || continue
    QUAVRIX_MP3_SIMD=plain "$host" -o "$dir/host.pcm" "$f" >/dev/null 2>&1 || continue
    "$dir/bin/quavrix-decode" -o "$dir/target.pcm" "$f" >/dev/null 2>&1 || true
    if cmp -s "$dir/host.pcm" "$dir/target.pcm"; then
        exact=$((exact + 1))
    elif [[ $f == *.m4a || $f == *.opus || $f == tests/data/opus/* ]] \
        && [[ $(stat -c %s "$dir/host.pcm") == $(stat -c %s "$dir/target.pcm") ]] \
        && (( $(maxdiff "$dir/host.pcm" "$dir/target.pcm") <= 1 )); then
        close=$((close + 1))
    else
        differ=$((differ + 1))
        echo "cross: $f decodes differently on $arch" >&2
    fi
done
echo "cross: decoded on $arch as on the host: $exact files bit for bit, $close (floating-point decoders) within one step, $differ otherwise"
(( differ == 0 )) || status=1
exit $status
