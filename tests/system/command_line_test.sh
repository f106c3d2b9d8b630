#!/usr/bin/env bash
# The command line is read before anything starts: --help lists every option and ends with
# status 0, and an option the game does not know (or a music choice it does not have) is named
# on standard error and ends it with status 2. No display is needed for either: the program
# ends before it would open a window.
# Argument: the game binary.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

GAME="$1"
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY ALSOFT_DRIVERS=null timeout -k 5 30 "$GAME" "$@" \
        >"$OUT" 2>"$ERR" </dev/null
}
OUT="$(mktemp)"
ERR="$(mktemp)"
trap 'rm -f "$OUT" "$ERR"' EXIT

run --help
status=$?
[ "$status" -eq 0 ] || fail "--help ended with status $status"
for option in --music=stream --music=composed --music=both --music=off --help; do
    grep -q -- "$option" "$OUT" || fail "--help does not list $option"
done
[ -s "$ERR" ] && fail "--help wrote to standard error"

for args in "--bogus" "--music=loud" "extra"; do
    run $args
    status=$?
    [ "$status" -eq 2 ] || fail "'$args' ended with status $status, expected 2"
    grep -q "quarrox: " "$ERR" || fail "'$args' gave no message on standard error"
    grep -q -- "--help" "$ERR" || fail "'$args' does not point to --help"
    grep -q "glfwInit failed" "$OUT" && fail "'$args' tried to open a window first"
done
echo "PASS"
