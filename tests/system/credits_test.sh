#!/usr/bin/env bash
# The credits test card, opened from the menu with the keyboard (button 6: N): the white grid
# with its black frame, the coloured ramps along the frame, the centre circle and the corner
# circles; holding down scrolls the credits in the centre circle's window and nothing else;
# Space closes the card and the menu is back; Escape then ends the program with status 0.
# Arguments: the game binary, a folder for the screenshots and the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

GAME="$1"
OUT_DIR="$2"
mkdir -p "$OUT_DIR"
make_game_dir "$GAME"

# How many pixels of area $3 differ between pictures $1 and $2.
changed_pixels() {
    compare -metric AE -fuzz 5% "$1[$3]" "$2[$3]" null: 2>&1
}

# 640 x 480 shows the 800 x 600 design screen at 0.8 pixels per unit: the card's cells are
# 53.3 pixels square, centred on multiples of 53.3, and its frame is the outermost half cell.
WHITE="255 255 255"
BLACK="0 0 0"
GREY="128 128 128"

expect_card() {
    local shot="$1"
    # The ramps along the frame, between black gaps: green to red along the top, green to
    # blue down the left, red to blue down the right, black to white along the bottom.
    expect_dominant "$shot" "16x30+4+38" "0 255 0" "left ramp, top"
    expect_dominant "$shot" "16x30+4+412" "0 0 255" "left ramp, bottom"
    expect_dominant "$shot" "30x16+305+4" "255 255 0" "top ramp, middle"
    expect_dominant "$shot" "16x30+620+38" "255 0 0" "right ramp, top"
    expect_dominant "$shot" "30x16+305+460" "127 127 127" "bottom ramp, middle"
    expect_dominant "$shot" "8x12+343+6" "$BLACK" "frame between two ramp cells"
    expect_dominant "$shot" "16x16+2+2" "$BLACK" "frame corner"
    # Grey cells in a white grid.
    expect_dominant "$shot" "20x20+203+150" "$GREY" "a cell"
    expect_dominant "$shot" "3x20+185+150" "$WHITE" "a grid line down"
    expect_dominant "$shot" "40x3+200+132" "$WHITE" "a grid line across"
    # The top left corner circle: a white ring, grey inside where a grid line would be.
    expect_dominant "$shot" "2x2+116+116" "$WHITE" "ring of the top left circle"
    expect_dominant "$shot" "3x10+79+108" "$GREY" "inside the top left circle"
    # The lower corner circles hold pictures.
    local corner
    for corner in 30x30+65+385 30x30+545+385; do
        colours_close "$(dominant_colour "$shot" "$corner")" "$GREY" &&
            fail "no picture in the corner circle at $corner"
    done
    # The centre circle: colour bars above the dark window of the credits.
    expect_dominant "$shot" "10x10+303+165" "16 235 16" "green bar of the centre circle"
    expect_dominant "$shot" "120x60+260+200" "14 14 22" "window of the centre circle"
}

# The text window of the centre circle.
TEXT="140x80+250+195"

# Fails unless picture $1 shows the card with the credits scrolled from where picture $2 shows
# them: more than 200 pixels of the text window changed.
expect_scrolled_from() {
    local moved
    moved="$(changed_pixels "$2" "$1" "$TEXT")"
    echo "$moved pixels of the text window changed"
    [ "$moved" -gt 200 ] 2>/dev/null || fail "the credits did not scroll ($moved pixels changed)"
    expect_card "$1"
}

# The menu at rest, as it was before the card opened: the card, closing, flies apart over it for
# half a second.
expect_menu_as_before() {
    expect_menu "$1"
    local changed
    changed="$(changed_pixels "$menu" "$1" 640x480+0+0)"
    [ "$changed" = 0 ] || fail "$changed pixels differ from the menu before the card opened"
}

start_scratch_game "$OUT_DIR/credits.stdout"
window="$(focus_game_window)" || { show_game_stdout; exit 1; }
menu="$OUT_DIR/credits_menu.png"
await picture_shows "$window" "$menu" expect_menu_at 1

# The card opens in half a second; expect_card passes only once it is fully open. N again
# would close it: the press is let go as soon as the card appears.
open="$OUT_DIR/credits_open.png"
press_until n picture_shows "$window" "$open" no_longer expect_menu_as_before
await picture_shows "$window" "$open" expect_card

# Holding down scrolls the text by about a hundred units a second.
scrolled="$OUT_DIR/credits_scrolled.png"
press_until Down picture_shows "$window" "$scrolled" expect_scrolled_from "$open"
for frame in 640x27+0+0 27x480+0+0 27x480+613+0 640x27+0+453; do
    [ "$(changed_pixels "$open" "$scrolled" "$frame")" = 0 ] || fail "the frame moved at $frame"
done

# Space closes the card; in the menu it would start a game, so it is let go as soon as the
# card starts to close.
press_until space picture_shows "$window" "$OUT_DIR/credits_closed.png" no_longer expect_card
await picture_shows "$window" "$OUT_DIR/credits_closed.png" expect_menu_as_before

press_until_exit Escape
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "Escape in the menu ended the game with status $GAME_STATUS"
[ -s "$GAME_STDOUT.stderr" ] && fail "the game wrote to standard error"
echo "PASS"
