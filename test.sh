#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs the whole suite through ctest.
#   ./test.sh             Release build in build/
#   ./test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/, then the
#                         controller tests under ThreadSanitizer in build-tsan/
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)

run_suite() { # dir, cmake args..., then -- ctest args...
    local dir=$1; shift
    local cargs=() targs=()
    while (( $# )) && [[ $1 != -- ]]; do cargs+=("$1"); shift; done
    (( $# )) && shift
    targs=("$@")
    cmake -S . -B "$dir" -G Ninja "${cargs[@]}" >/dev/null
    cmake --build "$dir" -j "$jobs"
    (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 600 "${targs[@]}")
}

if [[ ${1:-} == --sanitize ]]; then
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    run_suite build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUAVRIX_SANITIZE=address --
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
    run_suite build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUAVRIX_SANITIZE=thread -- -L controller
else
    run_suite build -DCMAKE_BUILD_TYPE=Release --
fi
