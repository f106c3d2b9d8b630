#!/usr/bin/env bash
# The saved state: a state file with correct checksums is read block by block and each block
# says so; a block whose checksum is wrong says so and is reset while the others load; losing
# the focus saves the state file; a close request ends the game with status 0.
# Arguments: the game binary, the send_close tool, a folder for the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

GAME="$1"
SEND_CLOSE="$2"
OUT_DIR="$3"
mkdir -p "$OUT_DIR"
make_game_dir "$GAME"
STATE="$SCRATCH_DIR/.travikstate"

# Runs the game on the state file as it is up to the menu, lets it lose the focus once and
# waits for the save that follows, and ends it with a close request (which does not save).
# Standard output goes to $1.
run_once() {
    start_scratch_game "$1"
    local window
    window="$(focus_game_window)" || { show_game_stdout; exit 1; }
    await picture_shows "$window" "${1%.stdout}_menu.png" expect_menu
    focus_another_window "$STATE"
    "$SEND_CLOSE" "$window" || fail "could not send WM_DELETE_WINDOW"
    wait_for_game_exit
    show_game_stdout
    [ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after closing"
}

# Without a state file nothing is read or said, and losing the focus writes the defaults.
run_once "$OUT_DIR/saved_state_none.stdout"
[ -s "$GAME_STDOUT" ] && fail "the game printed something without a state file"
[ -f "$STATE" ] || fail "losing the focus saved no state file"
defaults="0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|"
[ "$(cut -c1-${#defaults} "$STATE")" = "$defaults" ] ||
    fail "saved settings are $(cut -d'|' -f1-26 "$STATE"), expected $defaults"

# A correct file: every block loads, and the next save writes it back unchanged.
good="$(state_text 0)"
printf '%s' "$good" >"$STATE"
run_once "$OUT_DIR/saved_state_good.stdout"
expected="Settings Loaded
Badges Loaded
Highscore 0 Loaded
Highscore 1 Loaded
Highscore 2 Loaded"
[ "$(cat "$GAME_STDOUT")" = "$expected" ] || fail "unexpected messages for a correct state file"
[ "$(cat "$STATE")" = "$good" ] || fail "the saved state differs from the one loaded"

# One edited score: only that game type's lists are reset.
printf '%s' "$(state_text 7)" >"$STATE"
run_once "$OUT_DIR/saved_state_broken.stdout"
expected="Settings Loaded
Badges Loaded
Highscore 0 Loaded
Highscore 1 Checksum Invalid
Highscore 2 Loaded"
[ "$(cat "$GAME_STDOUT")" = "$expected" ] || fail "unexpected messages for a broken score block"
IFS='|' read -r -a saved <"$STATE"
IFS='|' read -r -a written <<<"$good"
for i in $(seq 0 97); do
    if [ "$i" -ge 56 ] && [ "$i" -le 76 ]; then
        [ "${saved[i]}" = "0" ] || fail "piece $i of the reset block is ${saved[i]}, expected 0"
    else
        [ "${saved[i]}" = "${written[i]}" ] || fail "piece $i changed from ${written[i]} to ${saved[i]}"
    fi
done
echo "PASS"
