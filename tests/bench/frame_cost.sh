#!/usr/bin/env bash
# Runs frame_cost_bench (the play field's busiest frame drawn by the game, by the graphics
# device alone and by raw OpenGL) in a virtual X server on Mesa's software OpenGL: once with
# llvmpipe rasterising on the calling thread (LP_NUM_THREADS=0), once with its own threads.
# Each run prints the picture comparison, the per-frame figures and the ratios to raw OpenGL.
# Asserts nothing.
#
# With --callgrind first, it counts instructions instead (valgrind's callgrind, llvmpipe on the
# calling thread): one frame of each way, inclusive of everything Mesa does for it, which is
# steady where times on a shared machine are not. The profile stays in CALLGRIND_OUT
# (/tmp/frame_cost.callgrind unless set) for callgrind_annotate.
#
# Usage: frame_cost.sh [--callgrind] [BENCH_BINARY] [benchmark flags...]
#   (default: build/tests/bench/frame_cost_bench)
set -uo pipefail
SYSTEM_TEST_LIMIT="${SYSTEM_TEST_LIMIT:-900}"
source "$(dirname "${BASH_SOURCE[0]}")/../system/lib.sh"
run_in_xvfb "$@"

MODE=time
if [ "${1:-}" = --callgrind ]; then
    MODE=callgrind
    shift
fi
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BENCH="$ROOT/build/tests/bench/frame_cost_bench"
if [ $# -gt 0 ] && [ -f "$1" ] && [ -x "$1" ]; then
    BENCH="$(realpath "$1")"
    shift
fi
[ -x "$BENCH" ] || fail "no frame_cost_bench built (ninja -C build frame_cost_bench)"

# The game reads and may write its state file in the current directory: give it one of its
# own, so no player's settings (overscan) change the picture.
WORK_DIR="$(mktemp -d /tmp/quarrox_frame_cost_XXXXXX)"
trap 'rm -rf "$WORK_DIR"' EXIT
cd "$WORK_DIR" || exit 1

if [ "$MODE" = callgrind ]; then
    OUT="${CALLGRIND_OUT:-/tmp/frame_cost.callgrind}"
    # A frame under valgrind takes seconds, so the shortest minimum time runs each way once
    # (after the picture check has drawn each once, with Mesa's shaders already compiled).
    LP_NUM_THREADS=0 ALSOFT_DRIVERS=null valgrind --tool=callgrind --callgrind-out-file="$OUT" \
        --toggle-collect='*::BM_*' "$BENCH" --benchmark_min_time=0.01 --benchmark_color=false \
        --benchmark_filter='^BM_(Raw|RawBatches256|Device|Game|GameReplay)/' \
        >"$WORK_DIR/run.txt" 2>&1 || { cat "$WORK_DIR/run.txt"; fail "the run under valgrind failed"; }
    grep -E '^(raw|game|device)' "$WORK_DIR/run.txt"
    awk '/^BM_/ && $6 != 1 { print "warning: " $1 " ran " $6 " frames, not 1" }' "$WORK_DIR/run.txt"
    echo "instructions per frame (llvmpipe included), against BM_Raw:"
    callgrind_annotate --inclusive=yes "$OUT" |
        awk '/::BM_[A-Za-z0-9]+\(benchmark::State&\)/ {
                 gsub(",", "", $1); match($0, /BM_[A-Za-z0-9]+/); ir[substr($0, RSTART, RLENGTH)] = $1 }
             END { for (n in ir) printf "  %-18s %12.0f  %.3f\n", n, ir[n], ir[n] / ir["BM_Raw"] }' |
        sort
    echo "profile: $OUT"
    exit 0
fi

# Interleaved repetitions, so that other work on the machine falls on all ways alike; later
# flags given to this script win.
FLAGS=(--benchmark_min_time=1 --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
    --benchmark_report_aggregates_only=true)

for threads in 0 default; do
    echo "=== llvmpipe threads: $threads"
    if [ "$threads" = default ]; then
        env -u LP_NUM_THREADS ALSOFT_DRIVERS=null "$BENCH" "${FLAGS[@]}" "$@"
    else
        LP_NUM_THREADS="$threads" ALSOFT_DRIVERS=null "$BENCH" "${FLAGS[@]}" "$@"
    fi || exit $?
done
