#!/usr/bin/env bash
# A player's session, once with the keyboard and once with the mouse: the menu with its
# highscore panel; a game of the chosen type with fire held (or the mouse's pause button); the
# pause menu over the darkened field; leaving the game from it; the game-over overlay; the menu
# again; and the end of the program with status 0. The finished games are at the head of their
# type's list of latest scores in the state file.
# Arguments: the game binary, the send_close tool, a folder for the screenshots and output.
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
# Known lists to start from: the latest scores of type t are 10r + t for r = 0 .. 9.
state_text 0 >"$STATE"

# The latest scores of game type $1 in the state file, separated by blanks.
last_list() {
    local t=$(($1 - 1)) pieces r list=""
    IFS='|' read -r -a pieces <"$STATE"
    for r in $(seq 0 9); do list+="${pieces[35 + 21 * t + 2 * r + 1]} "; done
    echo "${list% }"
}

# Fails unless the latest scores of type $1 are a new score followed by the first nine of the
# list the state file started with, and prints the new score.
expect_game_recorded() {
    local type="$1" list expected="" r
    read -r -a list <<<"$(last_list "$type")"
    for r in $(seq 0 8); do expected+="$((10 * r + type - 1)) "; done
    [ "${list[*]:1}" = "${expected% }" ] ||
        fail "type $type's latest scores are ${list[*]}, expected a new score, then ${expected% }"
    [ "${list[0]}" -ge 0 ] 2>/dev/null || fail "type $type's newest score is ${list[0]}"
    echo "type $type recorded with score ${list[0]}"
}

# The play field's background is dark red.
FIELD_RED="40 0 0"

expect_field() {
    expect_dominant "$1" "" "$FIELD_RED" "play field"
}

# The orange panel right of the resume icon, over a veil of about two thirds black; its lower
# part reaches down to y = 282 .. 288 only once the menu has come to rest, where its icons can
# be clicked.
expect_pause_menu() {
    local shot="$1"
    expect_dominant "$shot" "24x16+372+256" "182 105 7" "pause panel"
    expect_dominant "$shot" "24x6+372+282" "182 105 7" "pause panel at rest"
}

# Fails unless picture $1 shows part of the pause menu's orange panel, wherever it is on its
# way down: some of the column it slides down in is orange.
pause_panel_in_view() {
    local share
    share="$(convert "$1" -crop 24x480+372+0 \
        -fx '(r > 0.6 && g > 0.3 && g < 0.55 && b < 0.1) ? 1 : 0' -format '%[fx:mean]' info:)"
    awk -v s="$share" 'BEGIN { exit !(s > 0.02) }' || fail "no pause panel in view ($share)"
}

# Share of the area $2 of picture $1 in the bright yellow of the pause menu's cursor ring.
ring_share() {
    convert "$1" -crop "$2" -fx '(r > 0.9 && g > 0.8 && b < 0.4) ? 1 : 0' -format '%[fx:mean]' info:
}

# The pause menu at rest with its cursor, a yellow ring, around the leave icon at the left and
# no longer around the resume icon in the middle.
expect_leave_chosen() {
    local shot="$1" leave resume
    expect_pause_menu "$shot"
    leave="$(ring_share "$shot" 70x70+175+170)"
    resume="$(ring_share "$shot" 70x70+285+225)"
    awk -v l="$leave" -v r="$resume" 'BEGIN { exit !(l > 0.02 && r < 0.005) }' ||
        fail "the cursor is not on the leave item (ring share $leave there, $resume on resume)"
}

# The overlay at full width: black at 0.7 over the field, a yellow bar from the left under
# "GAME", an orange one from the right under "OVER".
expect_game_over() {
    local shot="$1"
    expect_dominant "$shot" "80x4+20+214" "133 127 0" "yellow bar"
    expect_dominant "$shot" "80x4+530+262" "133 64 0" "orange bar"
    expect_dominant "$shot" "200x60+220+380" "12 0 0" "darkened field"
}

# The game-over overlay shows for about a second and a half before the menu takes over: the
# pictures that may show it are taken in a burst while the input that leads to it is made.
BURST="$SCRATCH_DIR/burst"

# --- with the keyboard
start_scratch_game "$OUT_DIR/play_keys.stdout"
window="$(focus_game_window)" || { show_game_stdout; exit 1; }
await picture_shows "$window" "$OUT_DIR/play_keys_menu.png" expect_menu_at 1

# The second game type, fire held for two seconds. Right moves the highlight at once and the
# carousel after it.
press_until Right picture_shows "$window" "$OUT_DIR/play_keys_menu.png" \
    no_longer expect_carousel 1
await picture_shows "$window" "$OUT_DIR/play_keys_menu.png" expect_menu_at 2
press_until Return picture_shows "$window" "$OUT_DIR/play_keys_field.png" expect_field
xdotool keydown space
sleep 2
screenshot "$window" "$OUT_DIR/play_keys_field.png"
xdotool keyup space
expect_field "$OUT_DIR/play_keys_field.png"
green="$(convert "$OUT_DIR/play_keys_field.png" -crop 180x24+230+2 \
    -fx '(g > 0.6 && r < 0.6) ? 1 : 0' -format '%[fx:mean]' info:)"
awk -v g="$green" 'BEGIN { exit !(g > 0.02) }' || fail "no green score at the top ($green)"

# Escape again would resume: once the menu has begun to slide in, the press is let go.
press_until Escape picture_shows "$window" "$OUT_DIR/play_keys_pause.png" pause_panel_in_view
await picture_shows "$window" "$OUT_DIR/play_keys_pause.png" expect_pause_menu

# Left to the leave item, then fire chooses it.
press_until Left picture_shows "$window" "$OUT_DIR/play_keys_pause.png" expect_leave_chosen
start_burst "$window" "$BURST"
press_until Return burst_shows "$BURST" "$OUT_DIR/play_keys_game_over.png" expect_game_over
stop_burst

await picture_shows "$window" "$OUT_DIR/play_keys_menu_after.png" expect_menu
await expect_game_recorded 2

press_until_exit Escape
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "Escape in the menu ended the game with status $GAME_STATUS"
[ -s "$GAME_STDOUT.stderr" ] && fail "the game wrote to standard error"

# --- with the mouse
start_scratch_game "$OUT_DIR/play_mouse.stdout"
window="$(focus_game_window)" || { show_game_stdout; exit 1; }
# The carousel slides in when the menu opens: a click lands on the item it aims at only once
# the carousel is at rest.
await picture_shows "$window" "$OUT_DIR/play_mouse_menu.png" expect_menu_at 1
# The third item of the carousel comes to the centre (the press is let go as soon as the
# carousel moves, before another item passes under it); the play button starts it.
click_until "$window" 405 312 picture_shows "$window" "$OUT_DIR/play_mouse_menu.png" \
    no_longer expect_carousel 1
await picture_shows "$window" "$OUT_DIR/play_mouse_menu.png" expect_menu_at 3
click_until "$window" 584 441 picture_shows "$window" "$OUT_DIR/play_mouse_field.png" expect_field

# The pause button at the top left, then the leave icon left of the panel.
click_until "$window" 13 13 picture_shows "$window" "$OUT_DIR/play_mouse_pause.png" expect_pause_menu
start_burst "$window" "$BURST"
click_until "$window" 208 189 burst_shows "$BURST" "$OUT_DIR/play_mouse_game_over.png" expect_game_over
stop_burst

await picture_shows "$window" "$OUT_DIR/play_mouse_menu_after.png" expect_menu
await expect_game_recorded 3
expect_game_recorded 2  # the keyboard's game is still there

"$SEND_CLOSE" "$window" || fail "could not send WM_DELETE_WINDOW"
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "closing the window ended the game with status $GAME_STATUS"
echo "PASS"
