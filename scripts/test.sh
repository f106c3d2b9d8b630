#!/usr/bin/env bash
# Installs every package of scripts/packages.txt and builds everything, then runs every test:
# unit, system and benchmark smoke tests in build/, the unit tests again in build-asan/ under
# AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz target for a short while
# (build-fuzz/, each target counted as one test).
#
# Once build/ is built, the three runs go side by side: the tests of build/ at normal priority,
# the sanitizer build and the fuzzing niced in the background, so the cores the system tests
# leave idle while they wait on the game are not wasted. The tests of build/ show as they run;
# the other two show their output when they end.
# Ends with one line "N passed, N failed" and a non-zero status when anything failed.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$ROOT/build"
ASAN_DIR="$ROOT/build-asan"
JOBS="$(nproc 2>/dev/null || echo 2)"
# Upper bound for a test that sets no timeout of its own, so nothing can hang the run.
TEST_TIMEOUT=300
# Seconds each fuzz target runs: seven of them share the run with the sanitizer build, so the
# whole command stays within its ten minutes; scripts/fuzz.sh runs them longer on request.
FUZZ_SECONDS=10
# How much the background runs give way to the tests of build/.
BACKGROUND_NICENESS=10

passed=0
failed=0

# A step that is not a test run (set-up, a build) counts as one failed test when it fails.
step() {
    local name="$1"
    shift
    echo "== $name"
    if ! "$@"; then
        echo "== $name FAILED"
        failed=$((failed + 1))
        return 1
    fi
}

# Runs ctest and adds its counts from its closing line "... N tests failed out of M". A run that
# fails without that line (no tests found, ctest itself broken) counts as one failure.
run_ctest() {
    local name="$1"
    shift
    echo "== $name"
    local log
    log="$(mktemp)"
    ctest --output-on-failure --no-tests=error --timeout "$TEST_TIMEOUT" -j"$JOBS" "$@" \
        2>&1 | tee "$log"
    local status="${PIPESTATUS[0]}"
    local closing='.*tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*'
    local counts
    counts="$(sed -n "s/$closing/\\1 \\2/p" "$log" | tail -n 1)"
    rm -f "$log"
    if [ -n "$counts" ]; then
        local bad total
        read -r bad total <<<"$counts"
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
    if [ "$status" -ne 0 ] && { [ -z "$counts" ] || [ "$bad" -eq 0 ]; }; then
        echo "== $name FAILED (ctest status $status)"
        failed=$((failed + 1))
    fi
}

# Unoptimised: with the sanitizers' instrumentation, optimising makes the compiler several times
# slower, while the tests themselves run in moments either way.
configure_and_build_asan() {
    cmake -S "$ROOT" -B "$ASAN_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DQUARROX_SANITIZE=ON -DQUARROX_BUILD_TESTS=ON -DQUARROX_BUILD_BENCHMARKS=OFF >/dev/null &&
        ninja -C "$ASAN_DIR" -j"$JOBS"
}

# Each fuzz target is one test, failed by a crash, from scripts/fuzz.sh's closing line
# "N targets passed, N failed". A run without that line (the build failed) is one failure.
run_fuzz() {
    echo "== $1"
    local log
    log="$(mktemp)"
    bash "$ROOT/scripts/fuzz.sh" -t "$FUZZ_SECONDS" 2>&1 | tee "$log"
    local status="${PIPESTATUS[0]}"
    local counts
    counts="$(sed -n 's/^\([0-9]*\) targets passed, \([0-9]*\) failed$/\1 \2/p' "$log" | tail -n 1)"
    rm -f "$log"
    local good=0 bad=0
    if [ -n "$counts" ]; then
        read -r good bad <<<"$counts"
        passed=$((passed + good))
        failed=$((failed + bad))
    fi
    if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
        echo "== $1 FAILED (status $status)"
        failed=$((failed + 1))
    fi
}

# Runs "$@" (a function below) in the background with its output in a log and its counts in
# a file beside it, niced so that it gives way to the tests of build/.
LOG_DIR="$(mktemp -d "${TMPDIR:-/tmp}/quarrox-test.XXXXXX")"
trap 'rm -rf "$LOG_DIR"' EXIT
background_pids=()
background_names=()
in_background() {
    local name="$1"
    shift
    (
        renice -n "$BACKGROUND_NICENESS" -p "$BASHPID" >/dev/null
        passed=0
        failed=0
        "$@"
        echo "$passed $failed" >"$LOG_DIR/$name.counts"
    ) >"$LOG_DIR/$name.log" 2>&1 &
    background_pids+=("$!")
    background_names+=("$name")
}

# Waits for every background run, shows its output and adds its counts. A run that left no
# counts (it was killed) is one failure.
collect_background() {
    local i name
    for i in "${!background_pids[@]}"; do
        name="${background_names[i]}"
        wait "${background_pids[i]}"
        cat "$LOG_DIR/$name.log"
        if [ -s "$LOG_DIR/$name.counts" ]; then
            local good bad
            read -r good bad <"$LOG_DIR/$name.counts"
            passed=$((passed + good))
            failed=$((failed + bad))
        else
            echo "== $name ended without its counts"
            failed=$((failed + 1))
        fi
    done
}

sanitizer_run() {
    if step "sanitizer build" configure_and_build_asan; then
        run_ctest "unit tests under sanitizers" --test-dir "$ASAN_DIR" -L unit
    fi
}

built=0
step "set-up and build" bash "$ROOT/scripts/setup.sh" && built=1
in_background sanitizers sanitizer_run
in_background fuzzing run_fuzz "fuzz targets, $FUZZ_SECONDS s each"
if [ "$built" -eq 1 ]; then
    run_ctest "unit, system and benchmark smoke tests" --test-dir "$BUILD_DIR"
fi
echo "== waiting for the sanitizer run and the fuzzing"
collect_background

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
