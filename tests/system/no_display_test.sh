#!/usr/bin/env bash
# Without a display the game cannot start GLFW: it says so on standard output and exits with
# status 255 (-1), without hanging.
# Argument: the game binary.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

GAME="$1"
out="$(cd "$(dirname "$GAME")" &&
    env -u DISPLAY -u WAYLAND_DISPLAY ALSOFT_DRIVERS=null \
        timeout -k 5 30 "./$(basename "$GAME")" </dev/null)"
status=$?
echo "--- game standard output"
echo "$out"
echo "---"
[ "$status" -eq 255 ] || fail "exit status $status, expected 255"
[ "$out" = "glfwInit failed" ] || fail "standard output is not exactly 'glfwInit failed'"
echo "PASS"
