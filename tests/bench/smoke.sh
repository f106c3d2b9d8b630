#!/usr/bin/env bash
# Runs every benchmark of one Google Benchmark program for a token time, so that a benchmark
# which no longer works is noticed when the tests run, not when someone next wants a figure.
# Fails when the program ends with an error status or a signal, when a benchmark reports an
# error (state.SkipWithError), or when a benchmark the program lists did not run. Times are
# printed as usual and never judged: a smoke run on a shared machine measures nothing.
# Usage: smoke.sh PROGRAM [BENCHMARK FLAGS...]   (flags go to both the listing and the run)
set -uo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

[ $# -ge 1 ] || fail "usage: smoke.sh PROGRAM [BENCHMARK FLAGS...]"
PROGRAM="$(realpath "$1" 2>/dev/null)" && [ -f "$PROGRAM" ] && [ -x "$PROGRAM" ] || fail "no program $1"
shift
NAME="$(basename "$PROGRAM")"
# Long enough for every loop to run many times (batches fill, channels wrap, a tune's pass
# ends), short enough that all the programs together take seconds.
MIN_TIME=0.01

# A folder of its own: the game reads and may write its state file in the current directory.
WORK="$(mktemp -d "${TMPDIR:-/tmp}/quarrox_bench_smoke_XXXXXX")" || fail "no scratch folder"
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || fail "cannot enter $WORK"

# Ended by a signal, the shell reports 128 + its number.
explain_status() {
    if [ "$1" -gt 128 ]; then
        echo "was killed by signal $(kill -l "$(($1 - 128))" 2>/dev/null || echo "$(($1 - 128))")"
    else
        echo "ended with status $1"
    fi
}

# xvfb-run may hand over before its server takes connections: wait (bounded) for an answer.
if [ -n "${DISPLAY:-}" ] && command -v xdpyinfo >/dev/null; then
    for ((i = 0; i < 100; i++)); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
fi

# Every benchmark here is named BM_...; other lines are what a program prints before it runs
# (frame_cost_bench's picture comparison).
"$PROGRAM" --benchmark_list_tests=true "$@" >listed.txt 2>listing_errors.txt
status=$?
if [ "$status" -ne 0 ]; then
    cat listed.txt listing_errors.txt
    fail "$NAME $(explain_status "$status") while listing its benchmarks"
fi
grep '^BM_' listed.txt | sort -u >expected.txt
[ -s expected.txt ] || fail "$NAME lists no benchmark: $(cat listed.txt)"

"$PROGRAM" --benchmark_min_time="$MIN_TIME" --benchmark_color=false \
    --benchmark_out=results.json --benchmark_out_format=json "$@"
status=$?
[ "$status" -eq 0 ] || fail "$NAME $(explain_status "$status")"

# The JSON reporter writes one key per line; an entry's "name" comes before its error keys.
# Aggregates of repetitions carry the run_name of the benchmark they summarise.
[ -s results.json ] || fail "$NAME wrote no results"
errors="$(awk '
    /^ *"name": /           { name = $0; sub(/^ *"name": "/, "", name); sub(/",$/, "", name) }
    /^ *"error_occurred": true/ { failed = 1 }
    /^ *"error_message": /  { message = $0; sub(/^ *"error_message": /, "", message)
                              sub(/,$/, "", message) }
    /^ *}/ && failed        { print "  " name ": " message; failed = 0; message = "" }
' results.json)"
[ -z "$errors" ] || fail "$NAME: benchmarks reported errors:
$errors"
sed -n 's/^ *"run_name": "\(.*\)",$/\1/p' results.json | sort -u >ran.txt
missing="$(comm -23 expected.txt ran.txt)"
[ -z "$missing" ] || fail "$NAME did not run:
$missing"
echo "PASS: $NAME ran $(wc -l <expected.txt) benchmarks"
