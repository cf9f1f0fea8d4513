#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ (clang, AddressSanitizer + UBSan) and runs each for
# SECONDS (default 60), printing runs, runs a second and findings per target:
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# "steady/s" counts only the runs after the corpus was loaded, over the time after that.
# Seeds come from the test fixtures; corpora grow in build-fuzz/corpus/. A finding is saved
# in fuzz/regressions/<target>/, where the ordinary test suite replays it from then on
# (fuzz_<target>_replay).
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
shift || true
scripts/setup.sh build fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1" \
    -DQUAVRIX_FUZZ=ON -DQUAVRIX_SANITIZE=address -DQUAVRIX_BENCH=OFF >/dev/null
if (( $# )); then
    targets=()
    for t in "$@"; do targets+=("fuzz_${t#fuzz_}"); done   # "mp3" or "fuzz_mp3"
else
    targets=()
    for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build build-fuzz --target "${targets[@]}"

# Seeds: the start of each fixture the target reads (inputs stay small, so runs stay fast).
seed() { # target, max bytes, files...
    local dir=build-fuzz/seeds/$1 max=$2; shift 2
    mkdir -p "$dir"
    for f in "$@"; do head -c "$max" "$f" > "$dir/$(basename "$f")"; done
}
seed fuzz_mp3 4096 tests/data/mp3/*.mp3
seed fuzz_mp4atoms 65536 tests/data/mp4/*.m4a
seed fuzz_mp4sampletable 65536 tests/data/mp4/*.m4a
seed fuzz_id3v2 4096 tests/data/mp3/tagged-v2.mp3 tests/data/mp3/gapless-*.mp3 tests/data/replaygain/*.mp3
seed fuzz_flac 65536 tests/data/flac/*.flac tests/data/flac/*.oga tests/data/replaygain/*.flac
seed fuzz_opus 65536 tests/data/opus/*.opus tests/data/replaygain/*.opus
mkdir -p build-fuzz/seeds/fuzz_settings
printf '[Options]\nfile=/music/a,b.mp3\npos=12\n[PlayList]\n0=/m/x.mp3\n' > build-fuzz/seeds/fuzz_settings/options.conf

export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
printf '%-22s %12s %10s %10s %9s\n' target runs runs/s steady/s findings
status=0
for t in "${targets[@]}"; do
    short=${t#fuzz_}
    corpus=build-fuzz/corpus/$t
    found=fuzz/regressions/$short
    mkdir -p "$corpus" "$found" build-fuzz/seeds/$t
    max=4096
    [[ $t == fuzz_mp3 ]] && max=2048   # a few frames: every path a frame can take, fast
    [[ $t == fuzz_mp4* ]] && max=65536
    log=build-fuzz/$t.log
    before=$(find "$found" -type f | wc -l)
    inited= done_at=
    while IFS= read -r line; do
        [[ -z $inited && $line == \#*INITED* ]] && inited=$EPOCHREALTIME
        [[ $line == \#*DONE* ]] && done_at=$EPOCHREALTIME
        printf '%s\n' "$line"
    done < <(build-fuzz/bin/"$t" -max_total_time="$secs" -max_len=$max -print_final_stats=1 \
                 -artifact_prefix="$found/" "$corpus" "build-fuzz/seeds/$t" 2>&1; echo "exit: $?") >"$log"
    done_at=${done_at:-$EPOCHREALTIME}
    [[ $(tail -1 "$log") == "exit: 0" ]] || status=1
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    first=$(sed -n 's/^#\([0-9]*\)[[:space:]]*INITED.*/\1/p' "$log" | head -1)
    steady=?
    if [[ -n $inited && -n $runs && -n $first ]]; then
        steady=$(awk -v n=$(( runs - first )) -v a="$inited" -v b="$done_at" 'BEGIN { if (b > a) printf "%d", n / (b - a); else print "?" }')
    fi
    after=$(find "$found" -type f | wc -l)
    printf '%-22s %12s %10s %10s %9d\n' "$t" "${runs:-?}" "$(( ${runs:-0} / secs ))" "$steady" "$(( after - before ))"
done
rmdir fuzz/regressions/* 2>/dev/null || true
rmdir fuzz/regressions 2>/dev/null || true
exit $status
