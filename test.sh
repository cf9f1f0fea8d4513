#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs the whole suite through ctest.
#   ./test.sh             Release build in build/
#   ./test.sh --sanitize  AddressSanitizer + UBSan build in build-asan/, then the
#                         controller tests under ThreadSanitizer in build-tsan/
#   ./test.sh --cross arm64|armhf   the suite built for ARM and run under qemu
#                         (scripts/cross.sh)
set -euo pipefail
cd "$(dirname "$0")"
if [[ ${1:-} == --cross ]]; then
    exec scripts/cross.sh "${2:-}"
fi
scripts/setup.sh build test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc 2>/dev/null || echo 2)

run_suite() { # dir, build target, cmake args..., then -- ctest args...
    local dir=$1 target=$2; shift 2
    local cargs=() targs=()
    while (( $# )) && [[ $1 != -- ]]; do cargs+=("$1"); shift; done
    (( $# )) && shift
    targs=("$@")
    cmake -S . -B "$dir" -G Ninja "${cargs[@]}" >/dev/null
    cmake --build "$dir" -j "$jobs" --target "$target"
    (cd "$dir" && ctest --output-on-failure -j "$jobs" --timeout 600 "${targs[@]}")
}

if [[ ${1:-} == --sanitize ]]; then
    # Only what the tests run, at -O1 with line tables: readable traces at a fraction of
    # the build time of a full optimised debug build.
    sanitize=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
              "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1" -DQUAVRIX_BENCH=OFF)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
    run_suite build-asan tests "${sanitize[@]}" -DQUAVRIX_SANITIZE=address --
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp"
    run_suite build-tsan controller_tests "${sanitize[@]}" -DQUAVRIX_SANITIZE=thread -- -L controller
else
    run_suite build all -DCMAKE_BUILD_TYPE=Release --
fi
