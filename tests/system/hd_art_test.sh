#!/usr/bin/env bash
# The art level follows the window: at most 630 pixels each way loads the plain pictures, a
# window resized past 630 loads the "-hd" ones (and shows them at the same size). The test
# marks the two logo files with plain colours to see which one is drawn, and keeps each load
# waiting at the sprite sheet while it looks at the loading screen.
# Arguments: the game binary, a folder for the screenshots and the output.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/game_dir.sh"
run_in_xvfb "$@"

GAME="$1"
OUT_DIR="$2"
mkdir -p "$OUT_DIR"
make_game_dir "$GAME"
convert -size 256x256 xc:'rgb(255,0,0)' "PNG32:$SCRATCH_DIR/data/common/WexoLogo.png"
convert -size 512x512 xc:'rgb(0,255,0)' "PNG32:$SCRATCH_DIR/data/common/WexoLogo-hd.png"
hold_data_file gfx.png
hold_data_file gfx-hd.png
start_scratch_game "$OUT_DIR/hd_art.stdout"

# Fails unless picture $1, of a window $2 pixels wide and $3 high, shows the loading screen
# with the logo in colour $4 (named $5): the colour at the logo's centre (the middle of the
# window, 2 % of its height higher) and the logo's size, 256 units wide.
expect_logo_shown() {
    local shot="$1" width="$2" height="$3" colour="$4" name="$5"
    local cx=$((width / 2)) cy=$((height * 48 / 100))
    expect_pixel "$shot" "$cx" "$cy" "$colour" "$name logo"
    # At width / 800 pixels per unit the logo's edges lie at cx -/+ 128 * width / 800.
    local half=$((128 * width / 800))
    expect_pixel "$shot" $((cx - half + 3)) "$cy" "$colour" "$name logo, left edge"
    expect_pixel "$shot" $((cx + half - 3)) "$cy" "$colour" "$name logo, right edge"
    expect_pixel "$shot" $((cx - half - 3)) "$((cy - 100 * width / 800))" "212 212 16" \
        "yellow disc beside the $name logo"
}

# Resizes the window, waits for the game to load again and show the logo $3 (named $4), then
# lets the load go on past the sprite sheet $5.
expect_logo() {
    local width="$1" height="$2" colour="$3" name="$4" sheet="$5"
    xdotool windowsize --sync "$window" "$width" "$height" 2>/dev/null ||
        xdotool windowsize "$window" "$width" "$height"
    await picture_shows "$window" "$OUT_DIR/hd_art_${width}x${height}.png" \
        expect_logo_shown "$width" "$height" "$colour" "$name"
    local size
    size="$(window_size "$window")"
    [ "$size" = "${width}x${height}" ] || fail "window is $size, expected ${width}x${height}"
    release_data_file "$sheet"
}

window="$(focus_game_window)" || { show_game_stdout; exit 1; }
release_data_file gfx-hd.png
# The first load, for 640 x 480, ends in the menu before the window is resized.
await picture_shows "$window" "$OUT_DIR/hd_art_menu.png" expect_menu
expect_logo 600 450 "255 0 0" "plain" gfx.png
expect_logo 700 525 "0 255 0" "-hd" gfx-hd.png
expect_logo 630 472 "255 0 0" "plain" gfx.png

press_key "$window" F4
wait_for_game_exit
show_game_stdout
[ "$GAME_STATUS" -eq 0 ] || fail "the game exited with status $GAME_STATUS after F4"
echo "PASS"
