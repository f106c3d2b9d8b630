#!/usr/bin/env bash
# Installs every package of scripts/packages.txt and builds everything, then runs every test:
# unit and system tests in build/, the unit tests again in build-asan/ under AddressSanitizer
# and UndefinedBehaviorSanitizer, and every fuzz target for a short while (build-fuzz/, each
# target counted as one test).
# Ends with one line "N passed, N failed" and a non-zero status when anything failed.
set -uo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$ROOT/build"
ASAN_DIR="$ROOT/build-asan"
JOBS="$(nproc 2>/dev/null || echo 2)"
# Upper bound for a test that sets no timeout of its own, so nothing can hang the run.
TEST_TIMEOUT=300
# Seconds each fuzz target runs; scripts/fuzz.sh runs them longer on request.
FUZZ_SECONDS=15

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

if step "set-up and build" bash "$ROOT/scripts/setup.sh"; then
    run_ctest "unit and system tests" --test-dir "$BUILD_DIR"
fi
if step "sanitizer build" configure_and_build_asan; then
    run_ctest "unit tests under sanitizers" --test-dir "$ASAN_DIR" -L unit
fi
run_fuzz "fuzz targets, $FUZZ_SECONDS s each"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
