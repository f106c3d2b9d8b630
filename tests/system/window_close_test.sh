#!/usr/bin/env bash
# The game opens one window titled "Quarrox", sized to the screen (640 x 480 on the tests'
# screen) with the game's icon, and ends with status 0 when the window manager asks that
# window to close.
# Arguments: the game binary, the send_close tool, a folder for the screenshot and the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

GAME="$1"
SEND_CLOSE="$2"
OUT_DIR="$3"
mkdir -p "$OUT_DIR"

start_game "$GAME" "$OUT_DIR/window_close.stdout"
window="$(find_game_window)" || { show_game_stdout; exit 1; }
echo "window $window"

size="$(window_size "$window")"
[ "$size" = "640x480" ] || fail "window is $size, expected 640x480"
title="$(xdotool getwindowname "$window")"
[ "$title" = "Quarrox" ] || fail "window title is '$title', expected 'Quarrox'"
# The game's own icon, at every size the data folder holds, from a game run in the build.
icons="$(xprop -id "$window" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')"
[ "$icons" = "Icon (16 x 16) Icon (32 x 32) Icon (48 x 48) Icon (64 x 64) Icon (128 x 128) " ] ||
    fail "the window's icons are '$icons'"

# The screenshot shows what a player sees once the game has loaded: the menu.
if ! (await picture_shows "$window" "$OUT_DIR/window_close_menu.png" expect_menu); then
    if ! game_running; then
        wait_for_game_exit
        show_game_stdout
        fail "the game ended on its own with status $GAME_STATUS"
    fi
    fail "the game never showed its menu"
fi
import -window root "$OUT_DIR/window_close.png" || fail "taking the screenshot failed"
echo "screenshot $OUT_DIR/window_close.png"

"$SEND_CLOSE" "$window" || fail "could not send WM_DELETE_WINDOW"
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after the close request"
if grep -q 'Travik Runtime Error' "$GAME_STDOUT"; then
    fail "the game reported a runtime error"
fi
# A clean end leaves nothing behind to complain about, such as an audio device left open.
[ -s "$GAME_STDOUT.stderr" ] && fail "the game wrote to standard error"
echo "PASS"
