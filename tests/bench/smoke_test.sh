#!/usr/bin/env bash
# smoke.sh against a benchmark program that goes wrong on request: a clean run passes; an
# error a benchmark reports, a crash, and a run that ends early with a success status each
# fail, naming what went wrong.
# Arguments: smoke.sh and the fixture program.
set -uo pipefail

SMOKE="$1"
FIXTURE="$2"
OUT="$(mktemp -d "${TMPDIR:-/tmp}/quarrox_smoke_test_XXXXXX")"
trap 'rm -rf "$OUT"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs smoke.sh with the fault $1; its status, and its output in $OUT/$1.
smoke() {
    QUARROX_SMOKE_FAULT="$1" bash "$SMOKE" "$FIXTURE" >"$OUT/$1" 2>&1
}

smoke none || fail "a clean run failed: $(cat "$OUT/none")"
grep -q '^PASS: .* ran 2 benchmarks$' "$OUT/none" || fail "a clean run said: $(cat "$OUT/none")"

# fault, then what the failure must say
while read -r fault expected; do
    smoke "$fault" && fail "the fault '$fault' passed: $(cat "$OUT/$fault")"
    grep -q "^FAIL: .*$expected" "$OUT/$fault" ||
        fail "the fault '$fault' did not report '$expected': $(cat "$OUT/$fault")"
done <<'CASES'
error benchmarks reported errors
abort killed by signal ABRT
quit did not run
CASES
grep -q 'BM_Faulty/3: "the device is gone"' "$OUT/error" ||
    fail "the error report lacks the benchmark or its message: $(cat "$OUT/error")"
grep -qx 'BM_Faulty/3' "$OUT/quit" || fail "the missing benchmark is not named: $(cat "$OUT/quit")"

# A program that cannot start is no smoke run.
bash "$SMOKE" "$OUT/no such program" >"$OUT/missing" 2>&1 && fail "a missing program passed"
grep -q '^FAIL: no program' "$OUT/missing" || fail "a missing program said: $(cat "$OUT/missing")"
echo "PASS"
